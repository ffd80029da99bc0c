#include "tests/reliability/MorvaneRun.h"

#include "tests/app/CaptionTarget.h"

namespace {

const int kConvertedControls[] = {kPushButton, kCheckBox,  kRadioButton, kGroupBox,
                                  kStatic,     kTButton,   kTCheckBox,   kTGroupBox};

} // namespace

HWND MorvaneRunTest::StartAnswering(const std::string& folder)
{
    if (!m_morvane.Start("\"" + Bin("Morvane.exe") + "\"", folder))
        return nullptr;
    for (;;) {
        HWND box = nullptr;
        HWND mainWnd = nullptr;
        WaitUntil(
            [&] {
                box = FindProcessDialog(m_morvane.Id(), "Morvane");
                mainWnd = WaitForTopLevelWindow("MorvaneWndClass", m_morvane.Id(), 0);
                return box != nullptr || mainWnd != nullptr;
            },
            30000);
        if (box == nullptr) {
            m_hMainWnd = mainWnd;
            return m_hMainWnd;
        }
        m_startBoxes.push_back(CMessageBoxWatcher::Read(box));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        if (!WaitUntil([box] { return !IsWindow(box); }, 10000))
            return nullptr;
    }
}

bool MorvaneRunTest::IsResponsive() const
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(m_hMainWnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

HWND MorvaneRunTest::StartTarget(CChildProcess& process, const std::string& title, const std::string& report)
{
    std::string line = "\"" + Bin("caption_target.exe") + "\" \"" + title + "\"";
    if (!report.empty())
        line += " \"" + report + "\"";
    if (!process.Start(line))
        return nullptr;
    return WaitForTopLevelWindow(CAPTION_TARGET_CLASS, process.Id(), 15000);
}

std::string MorvaneRunTest::ControlText(HWND target, int id)
{
    return TextOf(GetDlgItem(target, id));
}

bool MorvaneRunTest::WaitForConvertedTexts(HWND target, const std::string& text, DWORD timeoutMs)
{
    return WaitUntil(
        [&] {
            for (int id : kConvertedControls) {
                if (ControlText(target, id) != text)
                    return false;
            }
            return true;
        },
        timeoutMs);
}

DWORD MorvaneRunTest::LoadErrorOf(const std::string& path)
{
    HMODULE module = LoadLibraryA(path.c_str());
    DWORD error = GetLastError();
    if (module != nullptr) {
        FreeLibrary(module);
        return 0;
    }
    return error;
}

std::string MorvaneRunTest::FaultyEnginePath(const std::string& fileName)
{
    return BinaryFolder() + "\\faultyengines\\" + fileName;
}
