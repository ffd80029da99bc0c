#include "conversion/TxvEngineApi.h"

#include "DictionaryResource.h"
#include "DictionaryTable.h"
#include "engines/common/EngineText.h"

namespace {

HINSTANCE g_hInstance;
CDictionaryTable g_table;
// The table lies beside the engine under the engine's own name with the
// extension .txt, so a renamed copy of the engine brings its own table.
char g_tablePath[MAX_PATH];

void FindTablePath()
{
    DWORD length = GetModuleFileNameA(g_hInstance, g_tablePath, MAX_PATH - 5);
    g_tablePath[length] = '\0';
    char* extension = NULL;
    for (char* p = g_tablePath; *p != '\0'; p = CharNextA(p)) {
        if (*p == '.')
            extension = p;
        else if (*p == '\\')
            extension = NULL;
    }
    lstrcpyA(extension != NULL ? extension : g_tablePath + lstrlenA(g_tablePath), ".txt");
}

void LoadText(UINT id, char* buffer, int size)
{
    if (LoadStringA(g_hInstance, id, buffer, size) == 0)
        buffer[0] = '\0';
}

int ShowBox(HWND owner, const char* text, UINT style)
{
    char caption[128];
    LoadText(IDS_DICTIONARY_CAPTION, caption, sizeof(caption));
    return MessageBoxA(owner, text, caption, style);
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        g_hInstance = instance;
    return TRUE;
}

DWORD WINAPI TXVGetAPIVersion(void)
{
    return TXV_API_VERSION_1;
}

BOOL WINAPI TXVGetEngineDescription(LPSTR buffer, int bufferSize)
{
    return CopyEngineText(g_hInstance, IDS_DICTIONARY_DESCRIPTION, buffer, bufferSize);
}

BOOL WINAPI TXVGetEngineVersion(LPSTR buffer, int bufferSize)
{
    return CopyEngineText(g_hInstance, IDS_DICTIONARY_VERSION, buffer, bufferSize);
}

// Without its table the engine would convert nothing: that is a failed start.
BOOL WINAPI TXVInitEngine(void)
{
    FindTablePath();
    return g_table.Load(g_tablePath);
}

void WINAPI TXVExitEngine(void)
{
    g_table.Clear();
}

// A caption is replaced only as a whole, and only when its replacement fits
// whole: half a translation would be worse than none.
BOOL WINAPI TXVConvertCaptionString(LPCSTR, LPCSTR text, LPSTR outBuffer, int outBufferSize)
{
    const std::string* target = g_table.Find(text);
    if (target == nullptr || *target == text || static_cast<int>(target->size()) >= outBufferSize)
        return FALSE;
    lstrcpyA(outBuffer, target->c_str());
    return TRUE;
}

void WINAPI TXVOnSetting(HWND hwndParent)
{
    char format[512];
    char text[1024];
    LoadText(IDS_DICTIONARY_SETTING, format, sizeof(format));
    wsprintfA(text, format, g_tablePath, g_table.Count());
    if (ShowBox(hwndParent, text, MB_YESNO | MB_ICONQUESTION) != IDYES || g_table.Load(g_tablePath))
        return;
    LoadText(IDS_DICTIONARY_RELOAD_FAILED, format, sizeof(format));
    wsprintfA(text, format, g_tablePath);
    ShowBox(hwndParent, text, MB_OK | MB_ICONEXCLAMATION);
}

void WINAPI TXVOnAbout(HWND hwndParent)
{
    char version[32];
    char format[512];
    char text[1024];
    LoadText(IDS_DICTIONARY_VERSION, version, sizeof(version));
    LoadText(IDS_DICTIONARY_ABOUT, format, sizeof(format));
    wsprintfA(text, format, version);
    ShowBox(hwndParent, text, MB_OK | MB_ICONINFORMATION);
}
