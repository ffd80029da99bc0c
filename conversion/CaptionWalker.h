#pragma once

#include "conversion/TextKinds.h"
#include "conversion/WndList.h"

class CEngine;

// Finds the target controls of other programs' windows, has the engine convert
// their captions and writes the results back. It remembers per control what it
// wrote and what was there before, so that the originals can be shown again and
// converted again with another engine. The owner decides when each operation
// runs (a tick, a hook report, a command); none starts while another is running
// on the stack, as an engine that runs a message loop would otherwise cause.
class CCaptionWalker {
public:
    CCaptionWalker();

    // Normal mode: the descendants of the foreground window.
    void ConvertTick(CEngine* engine);
    // Hook mode: one window that has just been created.
    void ConvertCreated(HWND hwnd, CEngine* engine);
    // Frees the records of one bucket's windows and controls that are gone.
    void CleanupTick();
    // Writes every remembered original back and stops converting until ConvertAgain.
    void ShowOriginals();
    // Converts every remembered control again from its original, with engine.
    void ConvertAgain(CEngine* engine);
    // The kinds of text beside captions that are converted (TextKind bits);
    // those turned off show their originals again.
    void SetKinds(int kinds);

    BOOL IsBusy() const { return m_bBusy; }
    BOOL AreOriginalsShown() const { return m_bOriginalsShown; }
    static BOOL IsTargetClass(const char* className);

    CWndList m_wndList;
    int m_nGCBucket;
    CWndEntry* m_pCurTop;

private:
    CCaptionWalker(const CCaptionWalker&) = delete;
    CCaptionWalker& operator=(const CCaptionWalker&) = delete;
    friend class CBusyScope;

    static BOOL CALLBACK EnumChildProc(HWND hwnd, LPARAM lParam);
    BOOL VisitChild(HWND hwnd);
    BOOL VisitItemControl(HWND hwnd);
    BOOL ReadTargetClass(HWND hwnd);
    CWndEntry* RecordOf(CWndEntry* top, HWND hwnd);
    CWndEntry* AddRecord(CWndEntry* top, HWND hwnd);
    BOOL Convert(CWndEntry* child, const char* source);
    static BOOL WriteText(HWND hwnd, const char* text);
    void SweepChildren(CWndEntry* top);
    static BOOL IsGoneChild(const CWndEntry* child, void* context);
    void ConvertCreatedWindow(HWND hwnd);
    void ConvertDeferred();
    void VisitRecords(BOOL (CCaptionWalker::*visit)(CWndEntry* child, const char* text));
    BOOL RestoreOriginal(CWndEntry* child, const char* text);
    BOOL ConvertFromOriginal(CWndEntry* child, const char* text);

    BOOL m_bBusy;
    BOOL m_bOriginalsShown;
    // The engine of the operation running.
    CEngine* m_pEngine;
    // Windows reported while another operation ran, converted when the next one ends.
    HWND m_deferred[64];
    int m_nDeferred;
    // The class-name buffer of every operation, made once rather than for every control of every tick.
    CGString m_className;
    CTextKinds m_kinds;
};
