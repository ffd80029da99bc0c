#include "ui/BrowseForFolder.h"

#include <shlobj.h>

namespace {

int CALLBACK BrowseCallback(HWND hwnd, UINT msg, LPARAM, LPARAM data)
{
    if (msg == BFFM_INITIALIZED && data != 0)
        SendMessageA(hwnd, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

} // namespace

int BrowseForFolder(HWND owner, const char* initialFolder, const char* title, UINT flags, char* result)
{
    result[0] = '\0';
    BROWSEINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.hwndOwner = owner;
    info.lpszTitle = title;
    info.ulFlags = flags;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(initialFolder);
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    if (chosen == NULL)
        return BROWSE_FOLDER_CANCELLED;
    // An item without a file-system path counts as no choice, so that no empty
    // or stale path is ever taken for the chosen folder.
    BOOL hasPath = SHGetPathFromIDListA(chosen, result);
    if (!hasPath)
        result[0] = '\0';
    IMalloc* malloc;
    if (SUCCEEDED(SHGetMalloc(&malloc))) {
        malloc->Free(chosen);
        malloc->Release();
    }
    return hasPath ? BROWSE_FOLDER_CHOSEN : BROWSE_FOLDER_CANCELLED;
}
