// Opens each dialog of the program in turn and saves a picture of it as a
// bitmap, for a person to look at: DialogGallery OUTPUT_FOLDER ENGINE_FOLDER.

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/MorvaneApp.h"
#include "foundation/PathFunctions.h"
#include "tests/support/ExpectedTexts.h"
#include "tests/support/TestApp.h"
#include "tests/ui/DialogDriver.h"
#include "ui/AboutDialog.h"
#include "ui/EngineChangeNoticeDialog.h"
#include "ui/EngineSettingsDialog.h"
#include "ui/OptionsDialog.h"
#include "ui/SampleStringDialog.h"
#include "ui/resource.h"

namespace {

bool SaveBitmap(const std::string& file, HDC dc, HBITMAP bitmap, int width, int height)
{
    BITMAPINFOHEADER info;
    ZeroMemory(&info, sizeof(info));
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    int stride = (width * 3 + 3) & ~3;
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * height);
    GetDIBits(dc, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);

    BITMAPFILEHEADER header;
    ZeroMemory(&header, sizeof(header));
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof(header) + sizeof(info);
    header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());
    FILE* out = fopen(file.c_str(), "wb");
    if (out == nullptr)
        return false;
    fwrite(&header, sizeof(header), 1, out);
    fwrite(&info, sizeof(info), 1, out);
    fwrite(pixels.data(), 1, pixels.size(), out);
    return fclose(out) == 0;
}

// Copies the dialog as it is on the screen, frame included.
bool Capture(HWND dialog, const std::string& file)
{
    RedrawWindow(dialog, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    GdiFlush();
    // The X server draws a moment after the window painted, and nothing tells when.
    Sleep(300);
    RECT rect;
    GetWindowRect(dialog, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, previous);
    bool saved = SaveBitmap(file, memory, bitmap, width, height);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return saved;
}

std::string s_outputFolder;
int s_nFailures = 0;

void Show(CIconDialog& dialog, UINT dialogId, const char* name)
{
    int shown = ShowDialog(dialog, ExpectedCaption(dialogId), [name](HWND hwnd) {
        if (!Capture(hwnd, s_outputFolder + "\\" + name + ".bmp"))
            ++s_nFailures;
        PostClick(hwnd, IDCANCEL);
    });
    if (shown == -1) {
        fprintf(stderr, "%s did not show\n", name);
        ++s_nFailures;
    }
}

// The first engine of the folder, for the dialogs that show one.
std::string FirstEngine(const char* folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(JoinPath(folder, "*.TXV").Text(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return "";
    FindClose(search);
    return JoinPath(folder, found.cFileName).Text();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: DialogGallery OUTPUT_FOLDER ENGINE_FOLDER\n");
        return 2;
    }
    s_outputFolder = argv[1];
    const char* engineFolder = argv[2];
    UseTestApplication();
    InitCommonControls();
    std::string engine = FirstEngine(engineFolder);

    CEngineSettingsDialog settings;
    settings.m_engineFolder.Assign(engineFolder);
    settings.m_enginePath.Assign(engine.c_str());
    settings.m_sampleString.Assign(ExpectedString(IDS_DEFAULT_SAMPLE_STRING).c_str());
    Show(settings, IDD_ENGINE_SETTINGS, "engine-settings");

    CSampleStringDialog sample;
    sample.m_sampleString.Assign(ExpectedString(IDS_DEFAULT_SAMPLE_STRING).c_str());
    Show(sample, IDD_SAMPLE_STRING, "sample-string");

    CEngineChangeNoticeDialog notice;
    Show(notice, IDD_ENGINE_CHANGE_NOTICE, "engine-change-notice");

    COptionsDialog options;
    options.m_nToggleHotKey = 0x0006007B;
    options.m_bHotKeyTaken = TRUE;
    Show(options, IDD_OPTIONS, "options");

    g_pApp->LoadEngine(engine.c_str());
    CAboutDialog about;
    Show(about, IDD_ABOUT, "about");
    g_pApp->LoadEngine(NULL);

    return s_nFailures == 0 ? 0 : 1;
}
