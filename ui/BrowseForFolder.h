#pragma once

#include <windows.h>

// Result of BrowseForFolder.
#define BROWSE_FOLDER_CHOSEN 1
#define BROWSE_FOLDER_CANCELLED 2

// Lets the user pick a folder, opening on initialFolder. On BROWSE_FOLDER_CHOSEN
// result (at least MAX_PATH bytes) holds the chosen folder's path; otherwise it
// is left empty.
int BrowseForFolder(HWND owner, const char* initialFolder, const char* title, UINT flags, char* result);
