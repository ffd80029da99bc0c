#include "tests/ui/DialogDriver.h"

#include <vector>

namespace {

const UINT s_nTickMs = 20;
const DWORD s_nPatienceMs = 15000;

CDialogDriver* s_pDriver = nullptr;

bool IsDialog(HWND hwnd)
{
    char className[16] = "";
    GetClassNameA(hwnd, className, sizeof(className));
    return lstrcmpA(className, "#32770") == 0;
}

struct Search {
    const CDialogDriver::Match* match;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM lParam)
{
    Search* search = reinterpret_cast<Search*>(lParam);
    if (IsDialog(hwnd) && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd) && (*search->match)(hwnd)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM lParam)
{
    if (IsDialog(hwnd))
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}

struct ChildSearch {
    const std::function<bool(HWND)>& match;
    bool found;
};

BOOL CALLBACK FindChild(HWND hwnd, LPARAM lParam)
{
    ChildSearch* search = reinterpret_cast<ChildSearch*>(lParam);
    search->found = search->match(hwnd);
    return !search->found;
}

} // namespace

CDialogDriver::CDialogDriver() : m_nLastProgress(GetTickCount()), m_bTimedOut(false)
{
    s_pDriver = this;
    m_nTimer = SetTimer(NULL, 0, s_nTickMs, OnTimer);
}

CDialogDriver::~CDialogDriver()
{
    KillTimer(NULL, m_nTimer);
    s_pDriver = nullptr;
}

CDialogDriver& CDialogDriver::Then(const std::string& caption, Action action)
{
    return ThenWindow(
        [caption](HWND dialog) {
            char text[256] = "";
            GetWindowTextA(dialog, text, sizeof(text));
            return caption == text;
        },
        std::move(action));
}

CDialogDriver& CDialogDriver::ThenWindow(Match match, Action action)
{
    m_steps.push_back(Step{std::move(match), std::move(action)});
    return *this;
}

void CALLBACK CDialogDriver::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (s_pDriver != nullptr)
        s_pDriver->Tick();
}

void CDialogDriver::Tick()
{
    if (!m_steps.empty()) {
        Search search{&m_steps.front().match, NULL};
        EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found != NULL) {
            // Taken off first: the action may run a nested loop that ticks again.
            Action action = std::move(m_steps.front().action);
            m_steps.pop_front();
            m_nLastProgress = GetTickCount();
            action(search.found);
            return;
        }
    }
    if (GetTickCount() - m_nLastProgress < s_nPatienceMs)
        return;
    std::vector<HWND> dialogs;
    EnumThreadWindows(GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
    if (m_steps.empty() && dialogs.empty())
        return;
    m_bTimedOut = true;
    m_steps.clear();
    for (HWND dialog : dialogs)
        EndDialog(dialog, IDCANCEL);
}

int ShowDialog(CIconDialog& dialog, const std::string& caption, CDialogDriver::Action act)
{
    CDialogDriver driver;
    driver.Then(caption, std::move(act));
    int result = dialog.DoModal(NULL);
    return driver.Finished() ? result : -1;
}

std::string ItemText(HWND dialog, int id)
{
    char text[1024] = "";
    GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

bool HasChild(HWND window, const std::function<bool(HWND child)>& match)
{
    ChildSearch search{match, false};
    EnumChildWindows(window, FindChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool IsFolderPicker(HWND dialog)
{
    return HasChild(dialog, [](HWND child) {
        char name[64] = "";
        GetClassNameA(child, name, sizeof(name));
        return lstrcmpiA(name, "SysTreeView32") == 0;
    });
}

void PressEscape(HWND dialog)
{
    // Posted so that the dialog manager's own key handling turns it into IDCANCEL.
    PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
}

void CloseBox(HWND dialog)
{
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}
