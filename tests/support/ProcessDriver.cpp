#include "tests/support/ProcessDriver.h"

#include <vector>

namespace {

struct WindowSearch {
    const char* className;
    const char* caption;
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND hwnd, LPARAM lParam)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (search->processId != 0 && owner != search->processId)
        return TRUE;
    char className[256] = "";
    GetClassNameA(hwnd, className, sizeof(className));
    if (lstrcmpA(className, search->className) != 0)
        return TRUE;
    if (search->caption != nullptr && TextOf(hwnd) != search->caption)
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

} // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

std::string BinaryFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\'));
}

CChildProcess::~CChildProcess()
{
    if (m_info.hProcess != nullptr)
        Kill();
    Release();
}

void CChildProcess::Release()
{
    if (m_info.hProcess == nullptr)
        return;
    CloseHandle(m_info.hProcess);
    CloseHandle(m_info.hThread);
    m_info = PROCESS_INFORMATION{};
}

bool CChildProcess::Start(const std::string& commandLine, const std::string& folder)
{
    // A reused object lets go of the earlier process, which may still run.
    Release();
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    std::string current = folder.empty() ? BinaryFolder() : folder;
    return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, current.c_str(), &startup,
                          &m_info) != FALSE;
}

int CChildProcess::WaitExit(DWORD timeoutMs)
{
    bool ended = WaitUntil([this] { return WaitForSingleObject(m_info.hProcess, 0) == WAIT_OBJECT_0; }, timeoutMs);
    if (!ended)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(m_info.hProcess, &code);
    return static_cast<int>(code);
}

bool CChildProcess::IsRunning() const
{
    return m_info.hProcess != nullptr && WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

void CChildProcess::Kill()
{
    if (IsRunning()) {
        TerminateProcess(m_info.hProcess, 99);
        WaitForSingleObject(m_info.hProcess, 5000);
    }
}

HWND WaitForTopLevelWindow(const char* className, DWORD processId, DWORD timeoutMs)
{
    WindowSearch search{className, nullptr, processId, nullptr};
    WaitUntil(
        [&search] {
            EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
}

HWND FindProcessDialog(DWORD processId, const char* caption)
{
    WindowSearch search{"#32770", caption, processId, nullptr};
    EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string TextOf(HWND hwnd)
{
    // Asked, not read from the title: controls such as edits keep their own text.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return "";
    std::string text(length + 1, '\0');
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG, 5000,
                             &length))
        return "";
    text.resize(length);
    return text;
}

void Click(HWND dialog, int id)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void PostClick(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
