#include "tests/support/MessageBoxWatcher.h"

namespace {

thread_local CMessageBoxWatcher* t_pWatcher = nullptr;

std::string WindowText(HWND hwnd)
{
    char text[4096] = "";
    GetWindowTextA(hwnd, text, sizeof(text));
    return text;
}

struct IconMatch {
    LPCSTR id;
    UINT style;
};

UINT IconStyle(HICON shown)
{
    static const IconMatch icons[] = {{IDI_HAND, MB_ICONHAND},
                                      {IDI_EXCLAMATION, MB_ICONEXCLAMATION},
                                      {IDI_QUESTION, MB_ICONQUESTION},
                                      {IDI_ASTERISK, MB_ICONASTERISK}};
    for (const IconMatch& icon : icons) {
        if (shown != NULL && shown == LoadIconA(NULL, icon.id))
            return icon.style;
    }
    return 0;
}

UINT ButtonStyle(HWND box)
{
    auto has = [box](int id) { return GetDlgItem(box, id) != NULL; };
    if (has(IDYES) && has(IDNO))
        return has(IDCANCEL) ? MB_YESNOCANCEL : MB_YESNO;
    if (has(IDRETRY))
        return has(IDABORT) ? MB_ABORTRETRYIGNORE : MB_RETRYCANCEL;
    return has(IDCANCEL) ? MB_OKCANCEL : MB_OK;
}

struct ChildScan {
    std::string text;
    HICON icon;
};

BOOL CALLBACK ScanChild(HWND child, LPARAM lParam)
{
    ChildScan* scan = reinterpret_cast<ChildScan*>(lParam);
    char className[64] = "";
    GetClassNameA(child, className, sizeof(className));
    if (lstrcmpiA(className, "Static") != 0)
        return TRUE;
    HICON icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    if (icon != NULL)
        scan->icon = icon;
    else if (scan->text.empty())
        scan->text = WindowText(child);
    return TRUE;
}

// MessageBox runs its dialog on a procedure of USER32, while the program's
// dialogs, the engines' and the shell's run on their own. Control ids cannot
// tell them apart: the program's dialogs number their labels 0xFFFF as well.
bool IsMessageBox(HWND window)
{
    char className[16] = "";
    GetClassNameA(window, className, sizeof(className));
    if (lstrcmpA(className, "#32770") != 0)
        return false;
    LPCSTR procedure = reinterpret_cast<LPCSTR>(GetWindowLongPtrW(window, DWLP_DLGPROC));
    HMODULE module = NULL;
    return GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              procedure, &module) &&
           module == GetModuleHandleA("user32.dll");
}

} // namespace

CMessageBoxWatcher::CMessageBoxWatcher(int answer, std::function<void(const SeenMessageBox&)> whileShown)
    : m_nAnswer(answer), m_whileShown(std::move(whileShown)), m_pPrevious(t_pWatcher)
{
    t_pWatcher = this;
    m_hHook = SetWindowsHookExA(WH_CBT, CbtProc, NULL, GetCurrentThreadId());
}

CMessageBoxWatcher::~CMessageBoxWatcher()
{
    UnhookWindowsHookEx(m_hHook);
    t_pWatcher = m_pPrevious;
}

SeenMessageBox CMessageBoxWatcher::Read(HWND box)
{
    ChildScan scan{std::string(), NULL};
    EnumChildWindows(box, ScanChild, reinterpret_cast<LPARAM>(&scan));
    return SeenMessageBox{WindowText(box), scan.text, IconStyle(scan.icon), ButtonStyle(box), GetWindow(box, GW_OWNER)};
}

LRESULT CALLBACK CMessageBoxWatcher::CbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    CMessageBoxWatcher* self = t_pWatcher;
    if (code == HCBT_ACTIVATE && self != nullptr) {
        HWND box = reinterpret_cast<HWND>(wParam);
        if (IsMessageBox(box) && GetPropA(box, "MorvaneWatched") == NULL) {
            SetPropA(box, "MorvaneWatched", reinterpret_cast<HANDLE>(1));
            self->m_seen.push_back(Read(box));
            if (self->m_whileShown)
                self->m_whileShown(self->m_seen.back());
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(self->m_nAnswer, BN_CLICKED), 0);
        }
    }
    return CallNextHookEx(self ? self->m_hHook : NULL, code, wParam, lParam);
}

std::ostream& operator<<(std::ostream& out, const SeenMessageBox& box)
{
    return out << '"' << box.caption << "\" \"" << box.text << "\" icon " << box.icon << " buttons " << box.buttons
               << " owner " << box.owner;
}

SeenMessageBox MorvaneWarning(const std::string& text, UINT buttons, HWND owner)
{
    return SeenMessageBox{"Morvane", text, MB_ICONEXCLAMATION, buttons, owner};
}
