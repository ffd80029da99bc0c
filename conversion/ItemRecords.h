#pragma once

#include "conversion/TextRecord.h"

// The records of the texts of one window or menu of one kind: a title, the
// tabs of a tab control, the columns of a header, the items of a menu.
class CItemRecords {
public:
    explicit CItemRecords(int kind);
    ~CItemRecords();

    // The record of item index, made when first asked for; null beyond the
    // last item kept or when memory runs out.
    CTextRecord* At(int index);
    // Whether one of the records holds shown as the conversion written: an
    // item that moved is not handed back to the engine.
    BOOL IsWrittenText(const char* shown) const;
    // Drops every record: each item is converted again from what it shows.
    void Forget();

    // Whether the window has not answered lately: it is left alone for a while.
    BOOL IsQuiet() const;
    void MarkQuiet();

    int Kind() const { return m_nKind; }

    // A header of more columns, a menu of more items, is converted up to here.
    static const int kMaxItems = 256;

private:
    CItemRecords(const CItemRecords&) = delete;
    CItemRecords& operator=(const CItemRecords&) = delete;

    int m_nKind;
    int m_nCount;
    CTextRecord** m_pItems;
    DWORD m_nQuietSince;
    BOOL m_bQuiet;
};
