#pragma once

#include <windows.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

struct SeenMessageBox {
    std::string caption;
    std::string text; // code page 932 bytes, as the program passed them
    UINT icon;        // MB_ICONHAND, MB_ICONEXCLAMATION, MB_ICONQUESTION, MB_ICONASTERISK or 0
    UINT buttons;     // MB_OK, MB_OKCANCEL, MB_YESNO, ...
    HWND owner;

    bool operator==(const SeenMessageBox& other) const
    {
        return caption == other.caption && text == other.text && icon == other.icon && buttons == other.buttons &&
               owner == other.owner;
    }
};
std::ostream& operator<<(std::ostream& out, const SeenMessageBox& box);

// The box in which Morvane warns: its name as the caption and the exclamation icon.
SeenMessageBox MorvaneWarning(const std::string& text, UINT buttons = MB_OK, HWND owner = NULL);

// Watches the message boxes shown on the calling thread while it lives: each
// one is recorded, the optional callback runs while it is up, and it is then
// answered with the given button.
class CMessageBoxWatcher {
public:
    explicit CMessageBoxWatcher(int answer, std::function<void(const SeenMessageBox&)> whileShown = nullptr);
    ~CMessageBoxWatcher();

    const std::vector<SeenMessageBox>& Seen() const { return m_seen; }
    void SetAnswer(int answer) { m_nAnswer = answer; }

    // Reads a message box window (of this or another process).
    static SeenMessageBox Read(HWND box);

private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);

    int m_nAnswer;
    std::function<void(const SeenMessageBox&)> m_whileShown;
    std::vector<SeenMessageBox> m_seen;
    HHOOK m_hHook;
    CMessageBoxWatcher* m_pPrevious;
};
