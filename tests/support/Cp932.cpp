#include "tests/support/Cp932.h"

#include <windows.h>

#include <vector>

std::string Cp932(const char* utf8)
{
    int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::vector<wchar_t> wide(wideLength);
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide.data(), wideLength);
    int length = WideCharToMultiByte(932, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
    std::vector<char> bytes(length);
    WideCharToMultiByte(932, 0, wide.data(), -1, bytes.data(), length, nullptr, nullptr);
    return std::string(bytes.data());
}
