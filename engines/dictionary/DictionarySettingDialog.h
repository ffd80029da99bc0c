#pragma once

#include <windows.h>

#include <string>

class CDictionary;
class CDictionaryOptions;

// The engine's settings: whether untranslated captions are written down, and
// the way to the user's table and its folder. OK keeps the choice in the
// registry.
class CDictionarySettingDialog {
public:
    CDictionarySettingDialog(HINSTANCE instance, CDictionaryOptions& options, const CDictionary& dictionary)
        : m_hInstance(instance), m_options(options), m_dictionary(dictionary)
    {
    }
    void Show(HWND owner);

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnInitDialog(HWND dialog);
    INT_PTR OnCommand(HWND dialog, WORD id);
    void OpenUserTable(HWND dialog);
    void Open(HWND dialog, const std::string& path);
    std::string Folder() const;

    HINSTANCE m_hInstance;
    CDictionaryOptions& m_options;
    const CDictionary& m_dictionary;
};
