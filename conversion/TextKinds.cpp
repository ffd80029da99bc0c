#include "conversion/TextKinds.h"

#include <new>
#include <string.h>

#include <commctrl.h>

#include "conversion/Engine.h"
#include "conversion/HeaderItems.h"
#include "conversion/ItemRecords.h"
#include "conversion/MenuItems.h"
#include "conversion/TabItems.h"
#include "conversion/TitleText.h"
#include "conversion/TxvEngineApi.h"

namespace {

const int kTextSize = TXV_MAX_TEXT_LENGTH + 1;
const int kClassNameSize = 200;
// Submenus below this depth are left alone: a menu may be its own submenu.
const int kMaxMenuDepth = 4;
const char kPopupMenuClass[] = "#32768";

const char* ClassNameOf(int kind)
{
    switch (kind) {
    case kTitleKind: return TXV_TITLE_CLASS_NAME;
    case kTabKind: return TXV_TAB_CLASS_NAME;
    case kHeaderKind: return TXV_HEADER_CLASS_NAME;
    }
    return TXV_MENU_CLASS_NAME;
}

} // namespace

CTextKinds::CTextKinds(CWndList& list)
    : m_list(list), m_nKinds(kAllKinds), m_hForeground(NULL), m_pForegroundTop(NULL), m_pEngine(NULL)
{
}

void CTextKinds::SetKinds(int kinds)
{
    int off = m_nKinds & ~kinds;
    m_nKinds = kinds & kAllKinds;
    if (off == 0)
        return;
    VisitAll(kRestore, off, NULL);
    // Forgotten, so that turning the kind on again converts the originals now shown.
    for (int bucket = 0; bucket < 256; ++bucket) {
        for (CWndEntry* top = m_list.GetBucketHead(bucket); top != NULL; top = m_list.GetNextEntry(top)) {
            for (CWndEntry* entry = top; entry != NULL; entry = entry == top ? top->m_pChildLink : entry->m_pChildLink) {
                if (entry->m_pItems != NULL && (entry->m_pItems->Kind() & off) != 0)
                    entry->m_pItems->Forget();
            }
        }
    }
}

int CTextKinds::ItemKindOf(const char* className)
{
    if (strcmp(className, WC_TABCONTROLA) == 0)
        return kTabKind;
    if (strcmp(className, WC_HEADERA) == 0)
        return kHeaderKind;
    return 0;
}

int CTextKinds::KindOfCreated(HWND hwnd, const char* className) const
{
    int kind = GetAncestor(hwnd, GA_ROOT) == hwnd ? kTitleKind : ItemKindOf(className);
    return IsOn(kind) ? kind : 0;
}

void CTextKinds::ConvertWindows(HWND foreground, CWndEntry* top, CEngine* engine)
{
    if (IsOn(kTitleKind) && !Visit(top, kTitleKind, kConvert, engine))
        return;
    m_hForeground = foreground;
    m_pForegroundTop = top;
    m_pEngine = engine;
    if (IsOn(kMenuKind))
        VisitMenu(top, GetMenu(foreground), 0);
    EnumThreadWindows(GetWindowThreadProcessId(foreground, NULL), EnumThreadProc, reinterpret_cast<LPARAM>(this));
    m_pEngine = NULL;
}

// No exception may unwind into the system's enumeration: running out of memory ends this walk only.
BOOL CALLBACK CTextKinds::EnumThreadProc(HWND hwnd, LPARAM lParam)
{
    try {
        reinterpret_cast<CTextKinds*>(lParam)->VisitThreadWindow(hwnd);
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

void CTextKinds::VisitThreadWindow(HWND hwnd)
{
    if (hwnd == m_hForeground || !IsWindowVisible(hwnd))
        return;
    char className[kClassNameSize] = "";
    GetClassNameA(hwnd, className, kClassNameSize);
    // A popup menu of this thread is Morvane's own tray menu, open while the ticks go on.
    if (strcmp(className, kPopupMenuClass) == 0) {
        DWORD_PTR menu = 0;
        if (IsOn(kMenuKind) && GetWindowThreadProcessId(hwnd, NULL) != GetCurrentThreadId() &&
            SendMessageTimeoutA(hwnd, MN_GETHMENU, 0, 0, SMTO_ABORTIFHUNG, CTextItems::kAnswerTimeout, &menu))
            VisitMenu(m_pForegroundTop, reinterpret_cast<HMENU>(menu), 0);
        return;
    }
    if (!IsOn(kTitleKind) || GetWindow(hwnd, GW_OWNER) != m_hForeground)
        return;
    CWndEntry* top = m_list.FindTopEntry(hwnd);
    if (top == NULL) {
        CWndEntry entryTemplate(hwnd, "");
        top = m_list.AddTopEntry(entryTemplate);
    }
    if (top != NULL)
        Visit(top, kTitleKind, kConvert, m_pEngine);
}

// A menu's records are child entries of its window's record under the menu's
// handle, which never names a window where menus are shared between programs.
void CTextKinds::VisitMenu(CWndEntry* top, HMENU menu, int depth)
{
    if (menu == NULL || depth > kMaxMenuDepth || !IsMenu(menu))
        return;
    HWND key = reinterpret_cast<HWND>(menu);
    CWndEntry* entry = m_list.FindChildEntry(top, key);
    if (entry == NULL) {
        CWndEntry entryTemplate(key, "");
        entry = m_list.AddChildEntry(top, entryTemplate);
        if (entry == NULL)
            return;
    }
    Visit(entry, kMenuKind, kConvert, m_pEngine);
    CMenuItems items(menu, NULL);
    int count = items.Count();
    for (int i = 0; i < count && i < CItemRecords::kMaxItems; ++i)
        VisitMenu(top, items.SubMenu(i), depth + 1);
}

BOOL CTextKinds::IsGoneMenu(const CWndEntry* child)
{
    return child->m_pItems != NULL && child->m_pItems->Kind() == kMenuKind &&
           !IsMenu(reinterpret_cast<HMENU>(child->m_hWnd));
}

BOOL CTextKinds::Visit(CWndEntry* entry, int kind, Mode mode, CEngine* engine)
{
    if (mode != kRestore && !IsOn(kind))
        return TRUE;
    if (entry->m_pItems == NULL) {
        entry->m_pItems = new (std::nothrow) CItemRecords(kind);
        if (entry->m_pItems == NULL)
            return TRUE;
    }
    CItemRecords& records = *entry->m_pItems;
    if (records.Kind() != kind)
        return TRUE;
    switch (kind) {
    case kTitleKind: {
        CTitleText items(entry->m_hWnd);
        return VisitItems(items, records, mode, engine);
    }
    case kTabKind: {
        CTabItems items(entry->m_hWnd, m_remote);
        return VisitItems(items, records, mode, engine);
    }
    case kHeaderKind: {
        CHeaderItems items(entry->m_hWnd, m_remote);
        return VisitItems(items, records, mode, engine);
    }
    }
    HWND owner = entry->m_pOwner != NULL ? entry->m_pOwner->m_hWnd : NULL;
    CMenuItems items(reinterpret_cast<HMENU>(entry->m_hWnd),
                     owner != NULL && GetMenu(owner) == reinterpret_cast<HMENU>(entry->m_hWnd) ? owner : NULL);
    return VisitItems(items, records, mode, engine);
}

void CTextKinds::VisitAll(Mode mode, int kinds, CEngine* engine)
{
    for (int bucket = 0; bucket < 256; ++bucket) {
        for (CWndEntry* top = m_list.GetBucketHead(bucket); top != NULL; top = m_list.GetNextEntry(top)) {
            for (CWndEntry* entry = top; entry != NULL; entry = entry == top ? top->m_pChildLink : entry->m_pChildLink) {
                CItemRecords* records = entry->m_pItems;
                if (records == NULL || (records->Kind() & kinds) == 0)
                    continue;
                BOOL there = records->Kind() == kMenuKind ? IsMenu(reinterpret_cast<HMENU>(entry->m_hWnd))
                                                          : IsWindow(entry->m_hWnd);
                if (there)
                    Visit(entry, records->Kind(), mode, engine);
            }
        }
    }
}

BOOL CTextKinds::VisitItems(CTextItems& items, CItemRecords& records, Mode mode, CEngine* engine)
{
    // A program that did not answer lately is skipped, so that it cannot slow every tick.
    if (records.IsQuiet())
        return TRUE;
    int count = items.Count();
    BOOL answered = count >= 0;
    BOOL wrote = FALSE;
    char shown[kTextSize];
    for (int i = 0; i < count && answered; ++i) {
        CTextRecord* record = records.At(i);
        if (record == NULL)
            break;
        if (!items.Read(i, shown, kTextSize))
            answered = !items.Hung();
        else
            answered = VisitText(items, i, *record, records, shown, mode, engine, &wrote);
    }
    if (!answered)
        records.MarkQuiet();
    if (wrote)
        items.Repaint();
    return answered;
}

BOOL CTextKinds::VisitText(CTextItems& items, int index, CTextRecord& record, CItemRecords& records,
                           const char* shown, Mode mode, CEngine* engine, BOOL* wrote)
{
    switch (mode) {
    case kConvert:
        // An item showing a conversion written into another one has moved: never handed back to the engine.
        if (!record.NeedsConversion(shown) || records.IsWrittenText(shown))
            return TRUE;
        return Convert(items, index, record, shown, shown, engine, records.Kind(), wrote);
    case kNote:
        if (record.NeedsConversion(shown))
            record.Note(shown);
        return TRUE;
    case kRestore:
        if (!record.ShowsConversion(shown))
            return TRUE;
        if (!items.Write(index, record.Original()))
            return !items.Hung();
        record.Restored();
        *wrote = TRUE;
        return TRUE;
    case kReconvert:
        return Convert(items, index, record, record.ShowsConversion(shown) ? record.Original() : shown, shown, engine,
                       records.Kind(), wrote);
    }
    return TRUE;
}

// Returns FALSE only when the window did not answer.
BOOL CTextKinds::Convert(CTextItems& items, int index, CTextRecord& record, const char* source, const char* shown,
                         CEngine* engine, int kind, BOOL* wrote)
{
    // Without an engine nothing is remembered: the item is converted once there is one.
    if (engine == NULL || source[0] == '\0')
        return TRUE;
    CGString output(TXV_WINDOW_OUTPUT_SIZE);
    BOOL converted = engine->ConvertCaptionString(ClassNameOf(kind), source, output.Buffer(-1), output.Capacity());
    output.SyncLength();
    if (!converted) {
        // Tried again once the item shows another text.
        record.Note(shown);
        return TRUE;
    }
    if (output.Compare(shown, FALSE) == 0) {
        record.Written(source, shown);
        return TRUE;
    }
    if (!items.Write(index, output.Text())) {
        record.Note(shown);
        return !items.Hung();
    }
    *wrote = TRUE;
    // What the item shows now is remembered, not what was sent: a window that
    // keeps its texts otherwise, or a program that puts its own back at once,
    // is then not taken for a change to convert.
    char now[kTextSize];
    record.Written(source, items.Read(index, now, kTextSize) ? now : output.Text());
    return TRUE;
}
