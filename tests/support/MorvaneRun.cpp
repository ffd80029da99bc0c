#include "tests/support/MorvaneRun.h"

#include <sstream>

namespace {

// The call and its details of a probe log line "<name> <call>[ <details>]".
void SplitLine(const std::string& line, std::string* call, std::string* details)
{
    std::istringstream fields(line);
    std::string name;
    fields >> name >> *call;
    std::getline(fields >> std::ws, *details);
}

} // namespace

HWND MorvaneRunTest::StartWith(const char* engineFile, DWORD resMode)
{
    CPreferencesScope::SetString("Engine", TestEnginePath(engineFile));
    CPreferencesScope::SetDWORD("ResMode", resMode);
    return StartAnswering();
}

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

bool MorvaneRunTest::SendCommand(WPARAM id)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(m_hMainWnd, WM_COMMAND, id, 0, SMTO_NORMAL, 10000, &result) != 0;
}

bool MorvaneRunTest::IsResponsive() const
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(m_hMainWnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

HWND MorvaneRunTest::StartTarget(CChildProcess& process, const std::string& mode, const std::string& title,
                                 const std::string& program)
{
    if (!process.Start("\"" + Bin(program) + "\" " + mode + " \"" + title + "\""))
        return nullptr;
    HWND window = WaitForTopLevelWindow(CAPTION_TARGET_CLASS, process.Id(), 15000);
    WaitUntil([&] { return Ask(window, WM_TARGET_READY) != 0; }, 15000);
    SetForegroundWindow(window);
    return window;
}

HWND MorvaneRunTest::StartTarget(const std::string& mode, const std::string& title, const std::string& program)
{
    m_targets.emplace_back();
    return StartTarget(m_targets.back(), mode, title, program);
}

bool MorvaneRunTest::KeepInFront(HWND window)
{
    if (GetForegroundWindow() != window)
        SetForegroundWindow(window);
    return GetForegroundWindow() == window;
}

LRESULT MorvaneRunTest::Ask(HWND target, UINT request, WPARAM wParam)
{
    DWORD_PTR result = 0;
    // Long enough for a request that takes a handle round (WM_TARGET_REUSE).
    SendMessageTimeoutA(target, request, wParam, 0, SMTO_NORMAL, 120000, &result);
    return static_cast<LRESULT>(result);
}

std::string MorvaneRunTest::ControlText(HWND target, int id)
{
    return TextOf(GetDlgItem(target, id));
}

bool MorvaneRunTest::AllConverted(HWND target, const char* text)
{
    for (const TargetControl& control : kControls) {
        std::string expected = text != nullptr ? text : "[" + std::string(control.text) + "]";
        if (control.converted && ControlText(target, control.id) != expected)
            return false;
    }
    return true;
}

bool MorvaneRunTest::WaitAllConverted(HWND target, const char* text)
{
    return WaitUntil([&] { return AllConverted(target, text); }, 20000);
}

bool MorvaneRunTest::AllOriginal(HWND target)
{
    for (const TargetControl& control : kControls) {
        if (control.converted && ControlText(target, control.id) != control.text)
            return false;
    }
    return true;
}

int MorvaneRunTest::SettleWalks(HWND target)
{
    LRESULT start = Ask(target, WM_TARGET_SENTINEL, TRUE);
    // At most two ticks a walk: the fourth comes from a walk begun after the call.
    if (!WaitUntil([&] { return Ask(target, WM_TARGET_SENTINEL, TRUE) >= start + 4; }, 20000))
        return -1;
    Ask(target, WM_TARGET_SENTINEL, FALSE);
    // A walk may have read a fresh text already: its conversion is the last.
    auto converted = [target](int id) { return TextOf(GetDlgItem(target, id))[0] == '['; };
    if (!WaitUntil([&] { return converted(kSentinels) && converted(kSentinels + 1); }, 20000))
        return -1;
    return static_cast<int>(Ask(target, WM_TARGET_SENTINEL, FALSE));
}

bool MorvaneRunTest::WaitUntilHooked(HWND target)
{
    return WaitUntil([&] { return HIWORD(Ask(target, WM_TARGET_CREATE, 1)) == 1; }, 15000);
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

int MorvaneRunTest::Calls(const std::string& call) const
{
    int count = 0;
    for (const std::string& line : m_log.Lines()) {
        std::string name, details;
        SplitLine(line, &name, &details);
        count += name == call ? 1 : 0;
    }
    return count;
}

std::map<std::string, int> MorvaneRunTest::ConversionsByClass() const
{
    std::map<std::string, int> counts;
    for (const std::string& line : m_log.Lines()) {
        std::string call, details;
        SplitLine(line, &call, &details);
        if (call == "TXVConvertCaptionString")
            ++counts[details.substr(0, details.rfind(' '))];
    }
    return counts;
}
