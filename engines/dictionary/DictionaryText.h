#pragma once

#include <windows.h>

#include <string>

#include "DictionaryResource.h"

// A text of the engine's string table, or an empty one when it is missing.
inline std::string LoadDictionaryText(HINSTANCE instance, UINT id)
{
    char text[1024];
    int length = LoadStringA(instance, id, text, sizeof(text));
    return std::string(text, length > 0 ? length : 0);
}

// A message box of the engine, under the engine's name.
inline int ShowDictionaryBox(HINSTANCE instance, HWND owner, const std::string& text, UINT style)
{
    return MessageBoxA(owner, text.c_str(), LoadDictionaryText(instance, IDS_DICTIONARY_CAPTION).c_str(), style);
}
