#pragma once

#include "foundation/GString.h"

// Windows path helpers on ANSI-code-page text: the separator is the backslash,
// the drive separator the colon, both found multi-byte aware so that the trail
// byte of a double-byte character is never taken for either.
CGString WithTrailingSeparator(const char* path);
CGString JoinPath(const char* folder, const char* name);
BOOL IsRootPath(const char* path);
CGString WithoutTrailingSeparator(const char* path);
CGString FileNamePart(const char* path);
CGString DirectoryPart(const char* path);
// The folder of the running program's file, without a trailing separator.
CGString ProgramFolder();
