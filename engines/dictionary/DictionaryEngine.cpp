#include "conversion/TxvEngineApi.h"

#include <shlobj.h>

#include "Dictionary.h"
#include "DictionaryOptions.h"
#include "DictionarySettingDialog.h"
#include "DictionaryText.h"
#include "UntranslatedLog.h"
#include "engines/common/EngineGuard.h"
#include "engines/common/EngineText.h"

namespace {

HINSTANCE g_hInstance;
CDictionary g_dictionary;
CDictionaryOptions g_options;
CUntranslatedLog g_untranslated;

// The shipped table lies beside the engine under the engine's own name with
// the extension .txt, so a renamed copy of the engine brings its own table.
std::string ShippedTablePath()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(g_hInstance, path, MAX_PATH - 5);
    path[length] = '\0';
    char* extension = NULL;
    for (char* p = path; *p != '\0'; p = CharNextA(p)) {
        if (*p == '.')
            extension = p;
        else if (*p == '\\')
            extension = NULL;
    }
    lstrcpyA(extension != NULL ? extension : path + lstrlenA(path), ".txt");
    return path;
}

// The user's files live in Morvane's folder of the application data, which
// the system keeps per user; empty when the system has none.
std::string UserFolder()
{
    char path[MAX_PATH];
    if (SHGetFolderPathA(NULL, CSIDL_APPDATA, NULL, SHGFP_TYPE_CURRENT, path) != S_OK)
        return std::string();
    return std::string(path) + "\\Morvane";
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
    return Guarded(FALSE, [&] { return CopyEngineText(g_hInstance, IDS_DICTIONARY_DESCRIPTION, buffer, bufferSize); });
}

BOOL WINAPI TXVGetEngineVersion(LPSTR buffer, int bufferSize)
{
    return Guarded(FALSE, [&] { return CopyEngineText(g_hInstance, IDS_DICTIONARY_VERSION, buffer, bufferSize); });
}

// Without its shipped table the engine would convert next to nothing: that is
// a failed start, and so is a table too big for the memory left.
BOOL WINAPI TXVInitEngine(void)
{
    BOOL started = Guarded(FALSE, [] {
        std::string folder = UserFolder();
        g_options.Load();
        if (!folder.empty())
            g_untranslated.Open(folder + "\\Untranslated.txt",
                                LoadDictionaryText(g_hInstance, IDS_UNTRANSLATED_HEADER));
        return g_dictionary.Load(ShippedTablePath(), folder.empty() ? folder : folder + "\\Dictionary.txt") ? TRUE
                                                                                                              : FALSE;
    });
    if (!started)
        TXVExitEngine();
    return started;
}

void WINAPI TXVExitEngine(void)
{
    Guarded(0, [] {
        g_dictionary.Clear();
        g_untranslated.Close();
        return 0;
    });
}

// A caption is replaced only as a whole, and only when its replacement fits
// whole: half a translation would be worse than none.
BOOL WINAPI TXVConvertCaptionString(LPCSTR className, LPCSTR text, LPSTR outBuffer, int outBufferSize)
{
    if (text == NULL || outBuffer == NULL || outBufferSize <= 0 || text[0] == '\0')
        return FALSE;
    return Guarded(FALSE, [&] {
        g_dictionary.ReloadChanged();
        std::string caption(text);
        std::string kind(className != NULL ? className : "");
        CDictionary::Result result = g_dictionary.Convert(kind, caption, outBuffer, outBufferSize);
        // The sample the user previews is no program's caption.
        if (result == CDictionary::Unknown && g_options.m_bCapture && kind != TXV_SAMPLE_CLASS_NAME)
            g_untranslated.Add(caption);
        if (result != CDictionary::Converted)
            outBuffer[0] = '\0';
        return result == CDictionary::Converted ? TRUE : FALSE;
    });
}

void WINAPI TXVOnSetting(HWND hwndParent)
{
    Guarded(0, [&] {
        CDictionarySettingDialog(g_hInstance, g_options, g_dictionary).Show(hwndParent);
        return 0;
    });
}

void WINAPI TXVOnAbout(HWND hwndParent)
{
    Guarded(0, [&] {
        char text[2048];
        wsprintfA(text, LoadDictionaryText(g_hInstance, IDS_DICTIONARY_ABOUT).c_str(),
                  LoadDictionaryText(g_hInstance, IDS_DICTIONARY_VERSION).c_str(), g_dictionary.ShippedPath().c_str(),
                  g_dictionary.UserPath().c_str(), g_dictionary.Count(), g_dictionary.Skipped());
        return ShowDictionaryBox(g_hInstance, hwndParent, text, MB_OK | MB_ICONINFORMATION);
    });
}
