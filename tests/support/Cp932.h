#pragma once

#include <string>

// The code page 932 bytes of a UTF-8 text: how the program sees a Japanese
// text that the tests spell in their UTF-8 source.
std::string Cp932(const char* utf8);
