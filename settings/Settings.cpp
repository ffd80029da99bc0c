#include "settings/Settings.h"

#include "conversion/TextKind.h"
#include "foundation/PathFunctions.h"
#include "settings/RegistryKey.h"
#include "ui/resource.h"

#include <algorithm>
#include <iterator>

const char* const CSettings::s_pszKey = "Software\\Quorvel\\Morvane\\Preferences";

namespace {

const int kStringCapacity = 128;

const char kEngineValue[] = "Engine";
const char kEngineFolderValue[] = "EngineFolder";
const char kSampleStringValue[] = "SampleString";
const char kShowChangeEngineInfoValue[] = "ShowChangeEngineInfo";
const char kTimerElapseConvValue[] = "TimerElapseConv";
const char kTimerElapseGCValue[] = "TimerElapseGC";
const char kResModeValue[] = "ResMode";
const char kToggleHotKeyValue[] = "ToggleHotKey";
const char kExcludedProgramsValue[] = "ExcludedPrograms";

struct KindValue {
    const char* name;
    DWORD kind;
};
const KindValue kKindValues[] = {
    {"ConvertTitles", kTitleKind},
    {"ConvertTabs", kTabKind},
    {"ConvertHeaders", kHeaderKind},
    {"ConvertMenus", kMenuKind},
};

// Ctrl+Shift+F12.
const DWORD kDefaultToggleHotKey = MAKELONG(VK_F12, MOD_CONTROL | MOD_SHIFT);

} // namespace

CSettings::CSettings()
    : Engine(kStringCapacity), EngineFolder(kStringCapacity), SampleString(kStringCapacity),
      ExcludedPrograms(kStringCapacity), m_bKeyUnreadable(FALSE)
{
    SetDefaults();
}

CSettings::~CSettings() {}

void CSettings::SetDefaults()
{
    Engine.Clear();
    EngineFolder.Assign(ProgramFolder());
    // The settings are built with the application object, before it knows
    // its instance handle: the text comes from the program's own module.
    SampleString.Clear();
    SampleString.LoadText(IDS_DEFAULT_SAMPLE_STRING, GetModuleHandleA(NULL));
    ShowChangeEngineInfo = 1;
    TimerElapseConv = 100;
    TimerElapseGC = 500;
    ResMode = 0;
    ToggleHotKey = kDefaultToggleHotKey;
    ExcludedPrograms.Clear();
    ConvertKinds = kAllKinds;
}

BOOL CSettings::Load()
{
    CRegistryKey key;
    CGString scratch(MAX_PATH);
    SetDefaults();
    if (!key.Open(s_pszKey, TRUE)) {
        m_bKeyUnreadable = GetLastError() != ERROR_FILE_NOT_FOUND;
        return TRUE;
    }
    m_bKeyUnreadable = FALSE;

    if (key.QueryString(kEngineValue, scratch))
        Engine.Assign(scratch);
    if (key.QueryString(kEngineFolderValue, scratch))
        EngineFolder.Assign(scratch);
    else if (Engine.Length() > 0)
        EngineFolder.Assign(DirectoryPart(Engine.Text()));
    if (key.QueryString(kSampleStringValue, scratch))
        SampleString.Assign(scratch);
    if (key.QueryString(kExcludedProgramsValue, scratch))
        ExcludedPrograms.Assign(scratch);

    // Read into a local: a failed query may still have overwritten it.
    DWORD value;
    if (key.QueryDWORD(kShowChangeEngineInfoValue, &value))
        ShowChangeEngineInfo = value != 0 ? 1 : 0;
    if (key.QueryDWORD(kTimerElapseConvValue, &value))
        TimerElapseConv = value;
    if (key.QueryDWORD(kTimerElapseGCValue, &value))
        TimerElapseGC = value;
    if (key.QueryDWORD(kResModeValue, &value))
        ResMode = value;
    if (key.QueryDWORD(kToggleHotKeyValue, &value))
        ToggleHotKey = value;
    for (const KindValue& kind : kKindValues) {
        if (key.QueryDWORD(kind.name, &value) && value == 0)
            ConvertKinds &= ~kind.kind;
    }
    return TRUE;
}

BOOL CSettings::Save()
{
    CRegistryKey key;
    if (m_bKeyUnreadable || !key.Open(s_pszKey, FALSE))
        return FALSE;

    // A braced list runs in order, so every write is attempted even after
    // one has failed.
    const BOOL written[] = {
        key.SetString(kEngineValue, Engine.Text()),
        key.SetString(kEngineFolderValue, EngineFolder.Text()),
        key.SetString(kSampleStringValue, SampleString.Text()),
        key.SetDWORD(kShowChangeEngineInfoValue, ShowChangeEngineInfo),
        key.SetDWORD(kTimerElapseConvValue, TimerElapseConv),
        key.SetDWORD(kTimerElapseGCValue, TimerElapseGC),
        key.SetDWORD(kResModeValue, ResMode),
        key.SetDWORD(kToggleHotKeyValue, ToggleHotKey),
        key.SetString(kExcludedProgramsValue, ExcludedPrograms.Text()),
    };
    BOOL kindsWritten = TRUE;
    for (const KindValue& kind : kKindValues)
        kindsWritten &= key.SetDWORD(kind.name, (ConvertKinds & kind.kind) != 0 ? 1 : 0) ? TRUE : FALSE;
    return kindsWritten && std::all_of(std::begin(written), std::end(written), [](BOOL ok) { return ok != FALSE; });
}
