#include "conversion/ProgramFilter.h"

#include <psapi.h>

#include "foundation/PathFunctions.h"

namespace {

// Known to Vista and later, where it opens elevated programs too; XP knows only the full right.
const DWORD kQueryLimitedInformation = 0x1000;

} // namespace

CProgramFilter::CProgramFilter() : m_nOwnProcess(GetCurrentProcessId()), m_nNextVerdict(0)
{
    ZeroMemory(m_verdicts, sizeof(m_verdicts));
}

void CProgramFilter::SetList(const char* text)
{
    m_list.Assign(text);
    ZeroMemory(m_verdicts, sizeof(m_verdicts));
}

BOOL CProgramFilter::IsExcluded(HWND top)
{
    for (const Verdict& verdict : m_verdicts) {
        if (verdict.hwnd == top && top != NULL)
            return verdict.excluded;
    }
    DWORD process = 0;
    GetWindowThreadProcessId(top, &process);
    char program[MAX_PATH];
    BOOL excluded = process == m_nOwnProcess ||
                    (ProgramOf(top, program, sizeof(program)) &&
                     (CProgramList::IsAlwaysExcluded(program) || m_list.Contains(program)));
    m_verdicts[m_nNextVerdict].hwnd = top;
    m_verdicts[m_nNextVerdict].excluded = excluded;
    m_nNextVerdict = (m_nNextVerdict + 1) % kVerdicts;
    return excluded;
}

BOOL CProgramFilter::ProgramOf(HWND hwnd, char* buffer, int size)
{
    DWORD process = 0;
    if (GetWindowThreadProcessId(hwnd, &process) == 0)
        return FALSE;
    HANDLE handle = OpenProcess(kQueryLimitedInformation, FALSE, process);
    if (handle == NULL)
        handle = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, process);
    if (handle == NULL)
        return FALSE;
    char path[MAX_PATH];
    DWORD length = GetProcessImageFileNameA(handle, path, MAX_PATH);
    CloseHandle(handle);
    if (length == 0 || length >= MAX_PATH)
        return FALSE;
    path[length] = '\0';
    lstrcpynA(buffer, FileNamePart(path).Text(), size);
    return buffer[0] != '\0';
}

BOOL CProgramFilter::IsUserWindow(HWND hwnd)
{
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    char className[32] = "";
    GetClassNameA(hwnd, className, sizeof(className));
    return process != GetCurrentProcessId() && IsWindowVisible(hwnd) &&
           (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) == 0 && lstrcmpA(className, "Shell_TrayWnd") != 0;
}

HWND CProgramFilter::UserWindow()
{
    HWND foreground = GetForegroundWindow();
    if (foreground != NULL && IsUserWindow(foreground))
        return foreground;
    for (HWND hwnd = GetTopWindow(NULL); hwnd != NULL; hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
        if (IsUserWindow(hwnd) && GetWindow(hwnd, GW_OWNER) == NULL)
            return hwnd;
    }
    return NULL;
}
