#include "tests/support/TempFolder.h"

#include <windows.h>

namespace {

void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

} // namespace

std::string CTempFolder::Root()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    return temp;
}

CTempFolder::CTempFolder()
{
    char path[MAX_PATH];
    // The unique file name becomes the folder's name.
    GetTempFileNameA(Root().c_str(), "mvt", 0, path);
    DeleteFileA(path);
    CreateDirectoryA(path, nullptr);
    m_path = path;
}

CTempFolder::~CTempFolder()
{
    RemoveTree(m_path);
}

std::string CTempFolder::WriteFile(const std::string& name, const std::string& bytes) const
{
    std::string path = PathOf(name);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
    return path;
}
