#pragma once

#include "foundation/GString.h"

// What the walker remembers of one text of a window that is not a control's
// caption (a title, a tab label, a column header, a menu item): the text it
// last left there and, once it has written a conversion, the text before.
class CTextRecord {
public:
    CTextRecord();

    // Whether the text shown asks for a conversion: it is not what the walker last left there.
    BOOL NeedsConversion(const char* shown) const { return m_text.Compare(shown, FALSE) != 0; }
    // Whether the text shown is the conversion the walker wrote.
    BOOL ShowsConversion(const char* shown) const { return m_bWritten && m_text.Compare(shown, FALSE) == 0; }
    // The engine left the text alone, or the walker only takes note of it: it
    // is converted once it changes.
    void Note(const char* shown);
    // The walker wrote a conversion of source, and the element shows now.
    void Written(const char* source, const char* now);
    // The original is shown again.
    void Restored();

    const char* Original() const { return m_original.Text(); }

private:
    CTextRecord(const CTextRecord&) = delete;
    CTextRecord& operator=(const CTextRecord&) = delete;

    CGString m_text;
    CGString m_original;
    BOOL m_bWritten;
};
