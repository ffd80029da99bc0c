#include "DictionarySettingDialog.h"

#include "Dictionary.h"
#include "DictionaryOptions.h"
#include "DictionaryText.h"

void CDictionarySettingDialog::Show(HWND owner)
{
    DialogBoxParamA(m_hInstance, MAKEINTRESOURCEA(IDD_DICTIONARY_SETTING), owner, DialogProc,
                    reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CDictionarySettingDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    CDictionarySettingDialog* self = reinterpret_cast<CDictionarySettingDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (self == nullptr)
        return FALSE;
    switch (message) {
    case WM_INITDIALOG: return self->OnInitDialog(dialog);
    case WM_COMMAND: return self->OnCommand(dialog, LOWORD(wParam));
    }
    return FALSE;
}

INT_PTR CDictionarySettingDialog::OnInitDialog(HWND dialog)
{
    char counts[512];
    wsprintfA(counts, LoadDictionaryText(m_hInstance, IDS_DICTIONARY_COUNTS).c_str(), m_dictionary.Count(),
              m_dictionary.Skipped());
    SetDlgItemTextA(dialog, IDC_DICTIONARY_COUNTS, counts);
    SetDlgItemTextA(dialog, IDC_DICTIONARY_FOLDER, Folder().c_str());
    CheckDlgButton(dialog, IDC_DICTIONARY_CAPTURE, m_options.m_bCapture ? BST_CHECKED : BST_UNCHECKED);
    // Without an application data folder there is no user table to open.
    if (Folder().empty()) {
        EnableWindow(GetDlgItem(dialog, IDC_DICTIONARY_OPEN_TABLE), FALSE);
        EnableWindow(GetDlgItem(dialog, IDC_DICTIONARY_OPEN_FOLDER), FALSE);
    }
    return TRUE;
}

INT_PTR CDictionarySettingDialog::OnCommand(HWND dialog, WORD id)
{
    switch (id) {
    case IDOK:
        m_options.m_bCapture = IsDlgButtonChecked(dialog, IDC_DICTIONARY_CAPTURE) == BST_CHECKED;
        m_options.Save();
        EndDialog(dialog, IDOK);
        return TRUE;
    case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
    case IDC_DICTIONARY_OPEN_TABLE: OpenUserTable(dialog); return TRUE;
    case IDC_DICTIONARY_OPEN_FOLDER:
        CreateDirectoryA(Folder().c_str(), NULL);
        Open(dialog, Folder());
        return TRUE;
    }
    return FALSE;
}

// A missing table is created with a header that explains its format, so that
// the editor opens on something the user can follow.
void CDictionarySettingDialog::OpenUserTable(HWND dialog)
{
    const std::string& path = m_dictionary.UserPath();
    CreateDirectoryA(Folder().c_str(), NULL);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        std::string header = LoadDictionaryText(m_hInstance, IDS_USER_TABLE_HEADER);
        DWORD written = 0;
        WriteFile(file, header.data(), static_cast<DWORD>(header.size()), &written, NULL);
        CloseHandle(file);
    }
    Open(dialog, path);
}

void CDictionarySettingDialog::Open(HWND dialog, const std::string& path)
{
    if (reinterpret_cast<INT_PTR>(ShellExecuteA(dialog, "open", path.c_str(), NULL, NULL, SW_SHOWNORMAL)) > 32)
        return;
    char text[1024];
    wsprintfA(text, LoadDictionaryText(m_hInstance, IDS_DICTIONARY_OPEN_FAILED).c_str(), path.c_str());
    ShowDictionaryBox(m_hInstance, dialog, text, MB_OK | MB_ICONEXCLAMATION);
}

std::string CDictionarySettingDialog::Folder() const
{
    const std::string& path = m_dictionary.UserPath();
    std::string::size_type separator = path.find_last_of('\\');
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
}
