#pragma once

#include "foundation/GString.h"

// The persistent preferences, read and written directly by their users.
class CSettings {
public:
    CSettings();
    virtual ~CSettings();

    void SetDefaults();
    BOOL Load();
    BOOL Save();

    CGString Engine;
    CGString EngineFolder;
    CGString SampleString;
    DWORD ShowChangeEngineInfo;
    DWORD TimerElapseConv;
    DWORD TimerElapseGC;
    DWORD ResMode;
    // The hot key that shows the original captions: virtual key in the low word, MOD_ flags in the high word;
    // 0 for none.
    DWORD ToggleHotKey;
    // The programs Morvane leaves alone: file names separated by ';' (see CProgramList); empty for none.
    CGString ExcludedPrograms;
    // Which texts beside control captions are converted: TextKind bits, each
    // stored as a value of its own that turns it on when missing.
    DWORD ConvertKinds;

    static const char* const s_pszKey;

private:
    CSettings(const CSettings&) = delete;
    CSettings& operator=(const CSettings&) = delete;

    // The key exists but the last Load could not open it: saving would put
    // defaults over preferences that were never read.
    BOOL m_bKeyUnreadable;
};
