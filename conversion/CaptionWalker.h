#pragma once

#include "conversion/ProgramFilter.h"
#include "conversion/WindowText.h"
#include "conversion/TextKinds.h"
#include "conversion/WndList.h"

class CEngine;

// Finds the target controls of other programs' windows, has the engine convert
// their captions and writes the results back. It remembers per control what it
// wrote and what was there before, so that the originals can be shown again and
// converted again with another engine. The owner decides when each operation
// runs (a tick, a hook report, a command); none starts while another is running
// on the stack, as an engine that runs a message loop would otherwise cause,
// except a hook report while another operation waits on a write-back.
class CCaptionWalker {
public:
    CCaptionWalker();

    // Normal mode: the descendants of the foreground window.
    void ConvertTick(CEngine* engine);
    // Hook mode: one window that MorLatch reported (kind: MORLATCH_CREATED, ...).
    void ConvertReported(HWND hwnd, UINT kind, CEngine* engine);
    // Frees the records of one bucket's windows and controls that are gone.
    void CleanupTick();
    // Writes every remembered original back and stops converting until ConvertAgain.
    void ShowOriginals();
    // Converts every remembered control again from its original, with engine.
    void ConvertAgain(CEngine* engine);
    // Writes the originals back into the windows of programs now left alone and forgets those windows.
    void ReleaseExcluded();
    // The kinds of text beside captions that are converted (TextKind bits);
    // those turned off show their originals again.
    void SetKinds(int kinds);

    BOOL IsBusy() const { return m_bBusy; }
    BOOL AreOriginalsShown() const { return m_bOriginalsShown; }
    // Whether a window is open whose program refused the walker's writes (it runs with higher rights).
    BOOL HasRefusedWindow() const { return m_nRefusedWindows > 0; }
    // TRUE once after HasRefusedWindow has changed, for the owner to show it.
    BOOL TakeRefusalsChanged();
    static BOOL IsTargetClass(const char* className);

    CWndList m_wndList;
    int m_nGCBucket;
    CWndEntry* m_pCurTop;
    // The programs whose windows are never read, converted or recorded.
    CProgramFilter m_programFilter;

private:
    CCaptionWalker(const CCaptionWalker&) = delete;
    CCaptionWalker& operator=(const CCaptionWalker&) = delete;
    friend class CBusyScope;

    static BOOL CALLBACK EnumChildProc(HWND hwnd, LPARAM lParam);
    BOOL VisitChild(HWND hwnd);
    BOOL PassOverOrVisitItems(CWndEntry* child);
    BOOL ReadTargetClass(HWND hwnd);
    CWndEntry* RecordOf(CWndEntry* top, HWND hwnd);
    CWndEntry* AddRecord(CWndEntry* top, HWND hwnd);
    BOOL LooksAgainAtClass(CWndEntry* child, HWND hwnd);
    void NoteEngine(CEngine* engine);
    BOOL Convert(CWndEntry* child, const char* source);
    void MarkRefused(CWndEntry* top);
    void RemoveTop(CWndEntry* top);
    void RemoveGoneRefused();
    CWindowText::Outcome WriteText(HWND hwnd, const char* text);
    void SweepChildren(CWndEntry* top);
    static BOOL IsGoneChild(const CWndEntry* child, void* context);
    void ConvertReportedWindow(HWND hwnd, BOOL textSet);
    BOOL IsNewCaption(CWndEntry* child, const char* text);
    void ConvertDeferred();
    void VisitRecords(BOOL (CCaptionWalker::*visit)(CWndEntry* child, const char* text));
    void VisitChildren(CWndEntry* top, BOOL (CCaptionWalker::*visit)(CWndEntry* child, const char* text));
    BOOL RestoreOriginal(CWndEntry* child, const char* text);
    BOOL ConvertFromOriginal(CWndEntry* child, const char* text);

    BOOL m_bBusy;
    BOOL m_bOriginalsShown;
    // The engine of the operation running, and the tick count it started at.
    CEngine* m_pEngine;
    DWORD m_nNow;
    // Counts the engines met, so that a text one engine declined is handed to the next.
    CEngine* m_pLastEngine;
    char m_lastEnginePath[MAX_PATH];
    DWORD m_nEngineGeneration;
    int m_nRefusedWindows;
    BOOL m_bRefusalsChanged;
    // Windows reported while another operation ran, converted when the next one ends.
    struct DeferredReport {
        HWND hwnd;
        BOOL textSet;
    } m_deferred[64];
    int m_nDeferred;
    // The control that WriteText is waiting on.
    HWND m_hWriting;
    // The class-name buffer of every operation, made once rather than for every control of every tick.
    CGString m_className;
    CTextKinds m_kinds;
};
