#include "conversion/CaptionWalker.h"

#include <string.h>

#include "conversion/Engine.h"
#include "conversion/ItemRecords.h"
#include "conversion/WindowText.h"
#include "hook/MorLatch.h"
#include "hook/ReportedClasses.h"

namespace {

const int kClassNameSize = 200;
const int kOutputSize = 256;
// A window's records of controls that are gone are looked for once its records
// have doubled since the last look, and not below this many.
const int kFirstSweep = 64;
// A program that puts back the caption Morvane replaced within this time holds on to it.
const DWORD kPutBackTime = 500;

} // namespace

// Marks an operation as running for as long as it is on the stack; one that
// runs while another waits on a write-back hands it back its engine.
class CBusyScope {
public:
    CBusyScope(CCaptionWalker* walker, CEngine* engine)
        : m_pWalker(walker), m_bOuterBusy(walker->m_bBusy), m_pOuterEngine(walker->m_pEngine)
    {
        m_pWalker->m_bBusy = TRUE;
        m_pWalker->m_pEngine = engine;
        m_pWalker->m_nNow = GetTickCount();
    }
    ~CBusyScope()
    {
        // The block in another program's memory goes when the outermost operation ends.
        if (!m_bOuterBusy)
            m_pWalker->m_kinds.Release();
        m_pWalker->m_pEngine = m_pOuterEngine;
        m_pWalker->m_bBusy = m_bOuterBusy;
    }

private:
    CBusyScope(const CBusyScope&) = delete;
    CBusyScope& operator=(const CBusyScope&) = delete;
    CCaptionWalker* m_pWalker;
    BOOL m_bOuterBusy;
    CEngine* m_pOuterEngine;
};

CCaptionWalker::CCaptionWalker()
    : m_nGCBucket(0), m_pCurTop(NULL), m_bBusy(FALSE), m_bOriginalsShown(FALSE), m_pEngine(NULL), m_nNow(0),
      m_pLastEngine(NULL), m_nEngineGeneration(0), m_nRefusedWindows(0), m_bRefusalsChanged(FALSE), m_nDeferred(0),
      m_hWriting(NULL), m_className(kClassNameSize), m_kinds(m_wndList)
{
    m_lastEnginePath[0] = '\0';
}

BOOL CCaptionWalker::IsTargetClass(const char* className)
{
    for (const char* target : kCaptionClasses) {
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
    if (foreground == NULL || m_programFilter.IsExcluded(foreground))
        return;
    CBusyScope scope(this, engine);
    NoteEngine(engine);
    m_pCurTop = m_wndList.FindTopEntry(foreground);
    if (m_pCurTop == NULL) {
        CWndEntry entryTemplate(foreground, "");
        m_pCurTop = m_wndList.AddTopEntry(entryTemplate);
        if (m_pCurTop == NULL)
            return;
    }
    // A program that refuses every write costs nothing while it stays in front.
    if (!m_pCurTop->m_bRefused) {
        EnumChildWindows(foreground, EnumChildProc, reinterpret_cast<LPARAM>(this));
        m_kinds.ConvertWindows(foreground, m_pCurTop, m_pEngine);
    }
    ConvertDeferred();
}

// The same engine may come back at the same address loaded from another file.
void CCaptionWalker::NoteEngine(CEngine* engine)
{
    const char* path = engine != NULL ? engine->GetPath() : "";
    if (engine == m_pLastEngine && strcmp(path, m_lastEnginePath) == 0)
        return;
    m_pLastEngine = engine;
    lstrcpynA(m_lastEnginePath, path, MAX_PATH);
    ++m_nEngineGeneration;
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
// its text at each tick, and a window of another class nothing at all; the
// class is read again when the text differs or a recheck is due, since the
// handle may name another window by then.
BOOL CCaptionWalker::VisitChild(HWND hwnd)
{
    CWndEntry* child = m_wndList.FindChildEntry(m_pCurTop, hwnd);
    if (child != NULL && child->m_pItems != NULL)
        return m_kinds.Visit(child, child->m_pItems->Kind(), CTextKinds::kConvert, m_pEngine);
    BOOL classRead = child == NULL || child->m_bPassedOver;
    if (child == NULL) {
        child = AddRecord(m_pCurTop, hwnd);
        if (child == NULL)
            return FALSE;
        if (!ReadTargetClass(hwnd))
            return PassOverOrVisitItems(child);
    } else if (child->m_bPassedOver && !LooksAgainAtClass(child, hwnd)) {
        return TRUE;
    }
    char text[CWindowText::s_nSize];
    if (!CWindowText::Read(hwnd, text))
        return TRUE;
    if (!child->NeedsEngine(text, m_nEngineGeneration, m_nNow))
        return TRUE;
    if (!classRead && !ReadTargetClass(hwnd)) {
        child->PassOver(m_nNow);
        return TRUE;
    }
    // A window that does not answer would make every further control of it
    // wait as long: leave the rest for the next tick.
    return Convert(child, text);
}

// TRUE when the window passed over is now of a target class.
BOOL CCaptionWalker::LooksAgainAtClass(CWndEntry* child, HWND hwnd)
{
    if (!child->IsRecheckDue(m_nNow))
        return FALSE;
    if (!ReadTargetClass(hwnd)) {
        PassOverOrVisitItems(child);
        return FALSE;
    }
    child->RecordUnconverted("", m_nEngineGeneration, m_nNow);
    return TRUE;
}

// A tab control or header gets the records of its items once its kind is on;
// any other window of a class that is no target is passed over.
BOOL CCaptionWalker::PassOverOrVisitItems(CWndEntry* child)
{
    int kind = CTextKinds::ItemKindOf(m_className.Text());
    if (kind != 0 && m_kinds.IsOn(kind))
        return m_kinds.Visit(child, kind, CTextKinds::kConvert, m_pEngine);
    child->PassOver(m_nNow);
    return TRUE;
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
    // Never under a write-back: the operation waiting on it holds a record.
    if (top->m_nChildren >= top->m_nSweepAt && m_hWriting == NULL)
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

// Returns FALSE when the rest of the window is better left: it did not
// answer the write-back in time, or its program refuses every write.
BOOL CCaptionWalker::Convert(CWndEntry* child, const char* source)
{
    CGString output(kOutputSize);
    BOOL converted = m_pEngine != NULL && m_pEngine->ConvertCaptionString(m_className.Text(), source,
                                                                            output.Buffer(-1), output.Capacity());
    output.SyncLength();
    if (!converted) {
        child->RecordUnconverted(source, m_nEngineGeneration, m_nNow);
        return TRUE;
    }
    switch (WriteText(child->m_hWnd, output.Text())) {
    case CWindowText::kRefused:
        child->RecordUnconverted(source, m_nEngineGeneration, m_nNow);
        MarkRefused(child->m_pOwner);
        return FALSE;
    case CWindowText::kUnanswered:
        // It may take the text once it answers again, and show the output then.
        child->RecordWritten(source, output.Text(), m_nEngineGeneration, m_nNow);
        return FALSE;
    case CWindowText::kDone: break;
    }
    // Later looks compare with what the control made of the text (characters
    // it cannot show, a cut, a refusal), so that the engine is never handed
    // Morvane's own output and the original stays the program's caption.
    char readBack[CWindowText::s_nSize];
    if (!CWindowText::Read(child->m_hWnd, readBack))
        lstrcpynA(readBack, output.Text(), CWindowText::s_nSize);
    child->RecordWritten(source, readBack, m_nEngineGeneration, m_nNow);
    return TRUE;
}

void CCaptionWalker::MarkRefused(CWndEntry* top)
{
    if (top->m_bRefused)
        return;
    top->m_bRefused = TRUE;
    if (m_nRefusedWindows++ == 0)
        m_bRefusalsChanged = TRUE;
}

void CCaptionWalker::RemoveTop(CWndEntry* top)
{
    if (top->m_bRefused && --m_nRefusedWindows == 0)
        m_bRefusalsChanged = TRUE;
    m_wndList.RemoveTopEntry(top);
}

BOOL CCaptionWalker::TakeRefusalsChanged()
{
    BOOL changed = m_bRefusalsChanged;
    m_bRefusalsChanged = FALSE;
    return changed;
}

// Morvane's own writes carry MorLatch's mark, so the hook does not report them
// back; a report that arrives while the write waits is the program's answer.
CWindowText::Outcome CCaptionWalker::WriteText(HWND hwnd, const char* text)
{
    HWND outer = m_hWriting;
    m_hWriting = hwnd;
    CWindowText::Outcome outcome = CWindowText::Write(hwnd, text, MORLATCH_OWN_TEXT);
    m_hWriting = outer;
    return outcome;
}

void CCaptionWalker::ConvertReported(HWND hwnd, UINT kind, CEngine* engine)
{
    // Items inserted or changed in a tab or header control are converted as at its creation.
    BOOL textSet = kind == MORLATCH_TEXT_SET;
    // The program's answer to the caption being written: converting that one
    // again could go back and forth with the program for good.
    if (textSet && hwnd == m_hWriting)
        return;
    // While the walker waits on a write-back, other threads' windows are
    // converted at once: their threads wait for it, as busy as the one written to.
    if (m_bBusy && m_hWriting == NULL) {
        // A box an engine shows while converting is Morvane's own: converting
        // its buttons would call the engine again and show another.
        DWORD process = 0;
        GetWindowThreadProcessId(hwnd, &process);
        if (process != GetCurrentProcessId() &&
            m_nDeferred < static_cast<int>(sizeof(m_deferred) / sizeof(m_deferred[0]))) {
            m_deferred[m_nDeferred].hwnd = hwnd;
            m_deferred[m_nDeferred++].textSet = textSet;
        }
        return;
    }
    CBusyScope scope(this, engine);
    NoteEngine(engine);
    try {
        ConvertReportedWindow(hwnd, textSet);
        ConvertDeferred();
    } catch (...) {
        // The creating program waits for this report: out of memory, its control stays as it is.
    }
}

void CCaptionWalker::ConvertReportedWindow(HWND hwnd, BOOL textSet)
{
    BOOL target = ReadTargetClass(hwnd);
    int kind = target ? 0 : m_kinds.KindOfCreated(hwnd, m_className.Text());
    if (!target && kind == 0)
        return;
    HWND root = GetAncestor(hwnd, GA_ROOT);
    if (root == NULL || m_programFilter.IsExcluded(root))
        return;
    CWndEntry* top = m_wndList.FindTopEntry(root);
    if (top == NULL) {
        CWndEntry entryTemplate(root, "");
        top = m_wndList.AddTopEntry(entryTemplate);
        if (top == NULL)
            return;
    }
    if (top->m_bRefused)
        return;
    if (kind != 0) {
        CWndEntry* entry = kind == kTitleKind ? top : RecordOf(top, hwnd);
        if (entry != NULL)
            m_kinds.Visit(entry, kind, m_bOriginalsShown ? CTextKinds::kNote : CTextKinds::kConvert, m_pEngine);
        return;
    }
    CWndEntry* child = RecordOf(top, hwnd);
    if (child == NULL)
        return;
    char text[CWindowText::s_nSize];
    if (!CWindowText::Read(hwnd, text))
        return;
    if (m_bOriginalsShown) {
        // Remembered as it is, so that turning the originals off converts it too.
        child->RecordUnconverted(text, m_nEngineGeneration, m_nNow);
        return;
    }
    // What Morvane wrote is never converted again, also when the program set
    // the caption while it handled WM_CREATE and the walker converted it then.
    if (textSet ? !IsNewCaption(child, text) : child->m_bWritten && child->m_text.Compare(text, FALSE) == 0)
        return;
    Convert(child, text);
}

// A caption set after the creation is converted unless it is the one Morvane
// left there. The one it replaced, put straight back once, is converted again
// (a dialog sets up the caption it was made with); put straight back twice,
// the program holds on to it, and it stays until the program shows another.
BOOL CCaptionWalker::IsNewCaption(CWndEntry* child, const char* text)
{
    if (child->m_text.Compare(text, FALSE) == 0)
        return FALSE;
    BOOL putBack = child->m_bWritten && child->m_original.Compare(text, FALSE) == 0 &&
                   GetTickCount() - child->m_nWrittenAt < kPutBackTime;
    if (putBack && child->m_bPutBack) {
        child->RecordUnconverted(text, m_nEngineGeneration, m_nNow);
        return FALSE;
    }
    child->m_bPutBack = putBack;
    return TRUE;
}

void CCaptionWalker::ConvertDeferred()
{
    while (m_nDeferred > 0) {
        const DeferredReport& report = m_deferred[--m_nDeferred];
        if (IsWindow(report.hwnd))
            ConvertReportedWindow(report.hwnd, report.textSet);
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
            RemoveTop(entry);
        else
            SweepChildren(entry);
        entry = next;
    }
    m_nGCBucket = (m_nGCBucket + 1) % 256;
    // The tray says so while such a window is open, not for a round of the buckets after.
    if (m_nRefusedWindows > 0)
        RemoveGoneRefused();
}

void CCaptionWalker::RemoveGoneRefused()
{
    for (int bucket = 0; bucket < 256; ++bucket) {
        CWndEntry* entry = m_wndList.GetBucketHead(bucket);
        while (entry != NULL) {
            CWndEntry* next = m_wndList.GetNextEntry(entry);
            if (entry->m_bRefused && !IsWindow(entry->m_hWnd))
                RemoveTop(entry);
            entry = next;
        }
    }
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
    NoteEngine(engine);
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

void CCaptionWalker::ReleaseExcluded()
{
    if (m_bBusy)
        return;
    CBusyScope scope(this, NULL);
    for (int bucket = 0; bucket < 256; ++bucket) {
        CWndEntry* top = m_wndList.GetBucketHead(bucket);
        while (top != NULL) {
            CWndEntry* next = m_wndList.GetNextEntry(top);
            if (IsWindow(top->m_hWnd) && m_programFilter.IsExcluded(top->m_hWnd)) {
                VisitChildren(top, &CCaptionWalker::RestoreOriginal);
                m_wndList.RemoveTopEntry(top);
                if (m_pCurTop == top)
                    m_pCurTop = NULL;
            }
            top = next;
        }
    }
}

// Every remembered control of every window still open, not only the foreground one.
void CCaptionWalker::VisitRecords(BOOL (CCaptionWalker::*visit)(CWndEntry* child, const char* text))
{
    for (int bucket = 0; bucket < 256; ++bucket) {
        for (CWndEntry* top = m_wndList.GetBucketHead(bucket); top != NULL; top = m_wndList.GetNextEntry(top)) {
            if (!top->m_bRefused)
                VisitChildren(top, visit);
        }
    }
}

void CCaptionWalker::VisitChildren(CWndEntry* top, BOOL (CCaptionWalker::*visit)(CWndEntry* child, const char* text))
{
    char text[CWindowText::s_nSize];
    for (CWndEntry* child = top->m_pChildLink; child != NULL; child = child->m_pChildLink) {
        if (child->m_bPassedOver || !IsWindow(child->m_hWnd) || !ReadTargetClass(child->m_hWnd) ||
            !CWindowText::Read(child->m_hWnd, text))
            continue;
        // A window that does not answer would make each further control of it wait as long.
        if (!(this->*visit)(child, text))
            return;
    }
}

BOOL CCaptionWalker::RestoreOriginal(CWndEntry* child, const char* text)
{
    // The program has put up a caption of its own since: the original is stale.
    if (!child->m_bWritten || child->m_text.Compare(text, FALSE) != 0)
        return TRUE;
    if (WriteText(child->m_hWnd, child->m_original.Text()) != CWindowText::kDone)
        return FALSE;
    char readBack[CWindowText::s_nSize];
    child->m_text.Assign(CWindowText::Read(child->m_hWnd, readBack) ? readBack : child->m_original.Text());
    return TRUE;
}

BOOL CCaptionWalker::ConvertFromOriginal(CWndEntry* child, const char* text)
{
    // The engine is never handed what Morvane wrote: unchanged since, the original goes in instead.
    BOOL unchanged = child->m_bWritten && child->m_text.Compare(text, FALSE) == 0;
    return Convert(child, unchanged ? child->m_original.Text() : text);
}
