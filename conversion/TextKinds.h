#pragma once

#include "conversion/RemoteMemory.h"
#include "conversion/TextKind.h"
#include "conversion/WndList.h"

class CEngine;
class CItemRecords;
class CTextItems;
class CTextRecord;

// Converts the texts of a window that are not control captions: titles, tab
// labels, column headers and menu items, each kind through the engine with a
// class name of its own, remembered per item in the window's records as the
// captions are. The walker calls it; it never runs an operation by itself.
class CTextKinds {
public:
    enum Mode {
        kConvert,   // converts what changed since the walker last looked
        kNote,      // remembers what is shown, to convert it later
        kRestore,   // shows the originals of what was converted
        kReconvert, // converts every item again, from its original where it shows a conversion
    };

    explicit CTextKinds(CWndList& list);

    // The kinds on (TextKind bits). Kinds turned off show their originals again.
    void SetKinds(int kinds);
    int Kinds() const { return m_nKinds; }
    BOOL IsOn(int kind) const { return (m_nKinds & kind) != 0; }

    // The kind of a control class whose items are converted (tabs, headers), 0 for any other.
    static int ItemKindOf(const char* className);
    // Hook mode: the kind a window just created or changed has, 0 when it is off or none.
    int KindOfCreated(HWND hwnd, const char* className) const;

    // Normal mode, after the controls of the foreground window (whose record is
    // top): its title and menu bar, and the titles of the windows it owns and
    // the popup menus it has open.
    void ConvertWindows(HWND foreground, CWndEntry* top, CEngine* engine);
    // The texts of kind of the window of entry (a top entry for a title, a
    // child entry for a control); FALSE when the window did not answer.
    BOOL Visit(CWndEntry* entry, int kind, Mode mode, CEngine* engine);
    // Every record of the kinds given, of every window still open.
    void VisitAll(Mode mode, int kinds, CEngine* engine);
    // Whether the record of a menu is gone (menus are not windows).
    static BOOL IsGoneMenu(const CWndEntry* child);

    // Gives back the block in the last program's memory; called when an operation ends.
    void Release() { m_remote.Release(); }

private:
    CTextKinds(const CTextKinds&) = delete;
    CTextKinds& operator=(const CTextKinds&) = delete;

    static BOOL CALLBACK EnumThreadProc(HWND hwnd, LPARAM lParam);
    void VisitThreadWindow(HWND hwnd);
    void VisitMenu(CWndEntry* top, HMENU menu, int depth);
    BOOL VisitItems(CTextItems& items, CItemRecords& records, Mode mode, CEngine* engine);
    BOOL VisitText(CTextItems& items, int index, CTextRecord& record, CItemRecords& records, const char* shown,
                   Mode mode, CEngine* engine, BOOL* wrote);
    BOOL Convert(CTextItems& items, int index, CTextRecord& record, const char* source, const char* shown,
                 CEngine* engine, int kind, BOOL* wrote);

    CWndList& m_list;
    int m_nKinds;
    CRemoteMemory m_remote;
    // The foreground window's record and engine while its thread's windows are visited.
    HWND m_hForeground;
    CWndEntry* m_pForegroundTop;
    CEngine* m_pEngine;
};
