#include "conversion/CaptionWalker.h"

#include <string.h>

#include "conversion/Engine.h"
#include "conversion/ItemRecords.h"

namespace {

const int kClassNameSize = 200;
const int kTextSize = 1024;
const int kOutputSize = 256;
// A control whose thread does not answer within this time is left as it is,
// so that one hung program cannot stop conversion everywhere.
const UINT kWriteBackTimeout = 2000;
// A window's records of controls that are gone are looked for once its records
// have doubled since the last look, and not below this many.
const int kFirstSweep = 64;

const char* const kTargetClasses[] = {"Button", "Static", "TButton", "TCheckBox", "TGroupBox"};

} // namespace

// Marks an operation as running for as long as it is on the stack.
class CBusyScope {
public:
    CBusyScope(CCaptionWalker* walker, CEngine* engine) : m_pWalker(walker)
    {
        m_pWalker->m_bBusy = TRUE;
        m_pWalker->m_pEngine = engine;
    }
    ~CBusyScope()
    {
        m_pWalker->m_kinds.Release();
        m_pWalker->m_pEngine = NULL;
        m_pWalker->m_bBusy = FALSE;
    }

private:
    CBusyScope(const CBusyScope&) = delete;
    CBusyScope& operator=(const CBusyScope&) = delete;
    CCaptionWalker* m_pWalker;
};

CCaptionWalker::CCaptionWalker()
    : m_nGCBucket(0), m_pCurTop(NULL), m_bBusy(FALSE), m_bOriginalsShown(FALSE), m_pEngine(NULL), m_nDeferred(0),
      m_className(kClassNameSize), m_kinds(m_wndList)
{
}

BOOL CCaptionWalker::IsTargetClass(const char* className)
{
    for (const char* target : kTargetClasses) {
        if (strcmp(className, target) == 0)
            return TRUE;
    }
    return FALSE;
}

BOOL CCaptionWalker::ReadTargetClass(HWND hwnd)
{
    GetClassNameA(hwnd, m_className.Buffer(-1), kClassNameSize);
    m_className.SyncLength();
    return IsTargetClass(m_className.Text());
}

void CCaptionWalker::ConvertTick(CEngine* engine)
{
    if (m_bBusy || m_bOriginalsShown)
        return;
    HWND foreground = GetForegroundWindow();
    if (foreground == NULL)
        return;
    CBusyScope scope(this, engine);
    m_pCurTop = m_wndList.FindTopEntry(foreground);
    if (m_pCurTop == NULL) {
        CWndEntry entryTemplate(foreground, "");
        m_pCurTop = m_wndList.AddTopEntry(entryTemplate);
        if (m_pCurTop == NULL)
            return;
    }
    EnumChildWindows(foreground, EnumChildProc, reinterpret_cast<LPARAM>(this));
    m_kinds.ConvertWindows(foreground, m_pCurTop, m_pEngine);
    ConvertDeferred();
}

// No exception may unwind into the system's enumeration: running out of memory ends this walk only.
BOOL CALLBACK CCaptionWalker::EnumChildProc(HWND hwnd, LPARAM lParam)
{
    try {
        return reinterpret_cast<CCaptionWalker*>(lParam)->VisitChild(hwnd);
    } catch (...) {
        return FALSE;
    }
}

// A window's class never changes, so a control already recorded costs only
// its text at each tick; its class is read again only when the text differs,
// since the handle may name another window by then.
BOOL CCaptionWalker::VisitChild(HWND hwnd)
{
    CWndEntry* child = m_wndList.FindChildEntry(m_pCurTop, hwnd);
    if (child != NULL && child->m_pItems != NULL)
        return m_kinds.Visit(child, child->m_pItems->Kind(), CTextKinds::kConvert, m_pEngine);
    BOOL classRead = child == NULL;
    if (child == NULL) {
        if (!ReadTargetClass(hwnd))
            return VisitItemControl(hwnd);
        child = AddRecord(m_pCurTop, hwnd);
        if (child == NULL)
            return FALSE;
    }
    char text[kTextSize];
    text[0] = '\0';
    GetWindowTextA(hwnd, text, kTextSize);
    // Still what the walker left there (or still empty): nothing to do.
    if (child->m_text.Compare(text, FALSE) == 0)
        return TRUE;
    if (!classRead && !ReadTargetClass(hwnd)) {
        // Another window under an old handle: its text is remembered so that it is passed over until it changes.
        child->m_text.Assign(text);
        child->m_bWritten = FALSE;
        return TRUE;
    }
    // A window that does not answer would make every further control of it
    // wait as long: leave the rest for the next tick.
    return Convert(child, text);
}

// A tab control or header gets a record once its kind is on; any other class none.
BOOL CCaptionWalker::VisitItemControl(HWND hwnd)
{
    int kind = CTextKinds::ItemKindOf(m_className.Text());
    if (kind == 0 || !m_kinds.IsOn(kind))
        return TRUE;
    CWndEntry* child = AddRecord(m_pCurTop, hwnd);
    return child != NULL && m_kinds.Visit(child, kind, CTextKinds::kConvert, m_pEngine);
}

CWndEntry* CCaptionWalker::RecordOf(CWndEntry* top, HWND hwnd)
{
    CWndEntry* child = m_wndList.FindChildEntry(top, hwnd);
    return child != NULL ? child : AddRecord(top, hwnd);
}

CWndEntry* CCaptionWalker::AddRecord(CWndEntry* top, HWND hwnd)
{
    // A window whose program keeps replacing its controls would otherwise
    // gather records without end while it stays open.
    if (top->m_nChildren >= top->m_nSweepAt)
        SweepChildren(top);
    CWndEntry entryTemplate(hwnd, "");
    return m_wndList.AddChildEntry(top, entryTemplate);
}

void CCaptionWalker::SweepChildren(CWndEntry* top)
{
    m_wndList.RemoveChildEntries(top, IsGoneChild, top);
    top->m_nSweepAt = top->m_nChildren * 2 > kFirstSweep ? top->m_nChildren * 2 : kFirstSweep;
}

// A handle that now names a window elsewhere is as good as gone: its record is not that window's.
BOOL CCaptionWalker::IsGoneChild(const CWndEntry* child, void* context)
{
    const CWndEntry* top = static_cast<const CWndEntry*>(context);
    if (child->m_pItems != NULL && child->m_pItems->Kind() == kMenuKind)
        return CTextKinds::IsGoneMenu(child);
    return !IsWindow(child->m_hWnd) || GetAncestor(child->m_hWnd, GA_ROOT) != top->m_hWnd;
}

// Returns FALSE only when the window did not answer the write-back in time.
BOOL CCaptionWalker::Convert(CWndEntry* child, const char* source)
{
    CGString output(kOutputSize);
    BOOL converted = m_pEngine != NULL && m_pEngine->ConvertCaptionString(m_className.Text(), source,
                                                                            output.Buffer(-1), output.Capacity());
    output.SyncLength();
    if (!converted) {
        // Tried again as soon as the control shows anything else.
        child->m_text.Assign(output);
        child->m_bWritten = FALSE;
        return TRUE;
    }
    BOOL answered = WriteText(child->m_hWnd, output.Text());
    child->m_original.Assign(source);
    child->m_text.Assign(output);
    child->m_bWritten = TRUE;
    return answered;
}

BOOL CCaptionWalker::WriteText(HWND hwnd, const char* text)
{
    DWORD_PTR result;
    if (!SendMessageTimeoutA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, kWriteBackTimeout,
                             &result) &&
        IsWindow(hwnd))
        return FALSE;
    InvalidateRect(hwnd, NULL, TRUE);
    return TRUE;
}

void CCaptionWalker::ConvertCreated(HWND hwnd, CEngine* engine)
{
    if (m_bBusy) {
        // A box an engine shows while converting is Morvane's own: converting
        // its buttons would call the engine again and show another.
        DWORD process = 0;
        GetWindowThreadProcessId(hwnd, &process);
        if (process != GetCurrentProcessId() && m_nDeferred < static_cast<int>(sizeof(m_deferred) / sizeof(HWND)))
            m_deferred[m_nDeferred++] = hwnd;
        return;
    }
    CBusyScope scope(this, engine);
    try {
        ConvertCreatedWindow(hwnd);
        ConvertDeferred();
    } catch (...) {
        // The creating program waits for this report: out of memory, its control stays as it is.
    }
}

void CCaptionWalker::ConvertCreatedWindow(HWND hwnd)
{
    BOOL target = ReadTargetClass(hwnd);
    int kind = target ? 0 : m_kinds.KindOfCreated(hwnd, m_className.Text());
    if (!target && kind == 0)
        return;
    HWND root = GetAncestor(hwnd, GA_ROOT);
    if (root == NULL)
        return;
    CWndEntry* top = m_wndList.FindTopEntry(root);
    if (top == NULL) {
        CWndEntry entryTemplate(root, "");
        top = m_wndList.AddTopEntry(entryTemplate);
        if (top == NULL)
            return;
    }
    if (kind != 0) {
        CWndEntry* entry = kind == kTitleKind ? top : RecordOf(top, hwnd);
        if (entry != NULL)
            m_kinds.Visit(entry, kind, m_bOriginalsShown ? CTextKinds::kNote : CTextKinds::kConvert, m_pEngine);
        return;
    }
    CWndEntry* child = RecordOf(top, hwnd);
    if (child == NULL)
        return;
    char text[kTextSize];
    text[0] = '\0';
    GetWindowTextA(hwnd, text, kTextSize);
    if (m_bOriginalsShown) {
        // Remembered as it is, so that turning the originals off converts it too.
        child->m_text.Assign(text);
        child->m_bWritten = FALSE;
        return;
    }
    Convert(child, text);
}

void CCaptionWalker::ConvertDeferred()
{
    while (m_nDeferred > 0) {
        HWND hwnd = m_deferred[--m_nDeferred];
        if (IsWindow(hwnd))
            ConvertCreatedWindow(hwnd);
    }
}

void CCaptionWalker::CleanupTick()
{
    if (m_bBusy)
        return;
    CBusyScope scope(this, NULL);
    CWndEntry* entry = m_wndList.GetBucketHead(m_nGCBucket);
    while (entry != NULL) {
        CWndEntry* next = m_wndList.GetNextEntry(entry);
        if (!IsWindow(entry->m_hWnd))
            m_wndList.RemoveTopEntry(entry);
        else
            SweepChildren(entry);
        entry = next;
    }
    m_nGCBucket = (m_nGCBucket + 1) % 256;
}

void CCaptionWalker::ShowOriginals()
{
    if (m_bBusy)
        return;
    CBusyScope scope(this, NULL);
    m_bOriginalsShown = TRUE;
    VisitRecords(&CCaptionWalker::RestoreOriginal);
    m_kinds.VisitAll(CTextKinds::kRestore, kAllKinds, NULL);
}

void CCaptionWalker::ConvertAgain(CEngine* engine)
{
    if (m_bBusy)
        return;
    CBusyScope scope(this, engine);
    m_bOriginalsShown = FALSE;
    VisitRecords(&CCaptionWalker::ConvertFromOriginal);
    m_kinds.VisitAll(CTextKinds::kReconvert, m_kinds.Kinds(), engine);
    ConvertDeferred();
}

void CCaptionWalker::SetKinds(int kinds)
{
    if (m_bBusy)
        return;
    CBusyScope scope(this, NULL);
    m_kinds.SetKinds(kinds);
}

// Every remembered control of every window still open, not only the foreground one.
void CCaptionWalker::VisitRecords(BOOL (CCaptionWalker::*visit)(CWndEntry* child, const char* text))
{
    char text[kTextSize];
    for (int bucket = 0; bucket < 256; ++bucket) {
        for (CWndEntry* top = m_wndList.GetBucketHead(bucket); top != NULL; top = m_wndList.GetNextEntry(top)) {
            for (CWndEntry* child = top->m_pChildLink; child != NULL; child = child->m_pChildLink) {
                if (!IsWindow(child->m_hWnd) || !ReadTargetClass(child->m_hWnd))
                    continue;
                text[0] = '\0';
                GetWindowTextA(child->m_hWnd, text, kTextSize);
                // A window that does not answer would make each further control of it wait as long.
                if (!(this->*visit)(child, text))
                    break;
            }
        }
    }
}

BOOL CCaptionWalker::RestoreOriginal(CWndEntry* child, const char* text)
{
    // The program has put up a caption of its own since: the original is stale.
    if (!child->m_bWritten || child->m_text.Compare(text, FALSE) != 0)
        return TRUE;
    if (!WriteText(child->m_hWnd, child->m_original.Text()))
        return FALSE;
    child->m_text.Assign(child->m_original);
    return TRUE;
}

BOOL CCaptionWalker::ConvertFromOriginal(CWndEntry* child, const char* text)
{
    // The engine is never handed what Morvane wrote: unchanged since, the original goes in instead.
    BOOL unchanged = child->m_bWritten && child->m_text.Compare(text, FALSE) == 0;
    return Convert(child, unchanged ? child->m_original.Text() : text);
}
