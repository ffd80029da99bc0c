#include <gtest/gtest.h>

#include "foundation/PathFunctions.h"

namespace {

// 表 (0x95 0x5C) ends in the backslash byte, which must not count as a separator.
#define HYO "\x95\x5C"

TEST(PathFunctions, SplitAndTrimTable)
{
    const struct {
        CGString (*function)(const char*);
        const char* name;
        const char* path;
        const char* expected;
    } cases[] = {
        {WithTrailingSeparator, "WithTrailingSeparator", "", ""},
        {WithTrailingSeparator, "WithTrailingSeparator", "C:", "C:\\"},
        {WithTrailingSeparator, "WithTrailingSeparator", "C:\\dir\\", "C:\\dir\\"},
        {WithTrailingSeparator, "WithTrailingSeparator", "C:\\" HYO, "C:\\" HYO "\\"},
        {WithTrailingSeparator, "WithTrailingSeparator", "\\", "\\"},
        {WithoutTrailingSeparator, "WithoutTrailingSeparator", "C:\\dir\\", "C:\\dir"},
        {WithoutTrailingSeparator, "WithoutTrailingSeparator", "C:\\", "C:\\"},
        {WithoutTrailingSeparator, "WithoutTrailingSeparator", "\\dir\\", "\\dir\\"},
        {WithoutTrailingSeparator, "WithoutTrailingSeparator", "", ""},
        {WithoutTrailingSeparator, "WithoutTrailingSeparator", "C:\\" HYO, "C:\\" HYO},
        {WithoutTrailingSeparator, "WithoutTrailingSeparator", "C:\\" HYO "\\", "C:\\" HYO},
        {WithoutTrailingSeparator, "WithoutTrailingSeparator", "\\\\server\\share\\", "\\\\server\\share\\"},
        {FileNamePart, "FileNamePart", "C:\\a\\b.txt", "b.txt"},
        {FileNamePart, "FileNamePart", "C:\\a\\b\\", "b"},
        {FileNamePart, "FileNamePart", "C:\\", ""},
        {FileNamePart, "FileNamePart", "C:b.txt", "C:b.txt"},
        {FileNamePart, "FileNamePart", "C:\\a\\" HYO, HYO},
        {FileNamePart, "FileNamePart", "C:\\" HYO "\\x.dll", "x.dll"},
        {FileNamePart, "FileNamePart", "C:\\a\\b:c", "b:c"},
        {FileNamePart, "FileNamePart", HYO, HYO},
        {DirectoryPart, "DirectoryPart", "C:\\a\\b.txt", "C:\\a"},
        {DirectoryPart, "DirectoryPart", "C:\\b.txt", "C:\\"},
        {DirectoryPart, "DirectoryPart", "C:b.txt", "C:"},
        {DirectoryPart, "DirectoryPart", "b.txt", ""},
        {DirectoryPart, "DirectoryPart", "\\b.txt", "\\"},
        {DirectoryPart, "DirectoryPart", "C:\\" HYO, "C:\\"},
        {DirectoryPart, "DirectoryPart", "C:\\" HYO "\\x.dll", "C:\\" HYO},
        {DirectoryPart, "DirectoryPart", "C:\\a:b", "C:\\a:"},
        {DirectoryPart, "DirectoryPart", "C:" HYO "x", "C:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << "(\"" << c.path << "\")");
        CGString result = c.function(c.path);
        EXPECT_STREQ(c.expected, result.Text());
        EXPECT_EQ(lstrlenA(c.expected) + 1, result.Capacity());
    }
}

TEST(PathFunctions, JoinPathAddsOneSeparator)
{
    const struct {
        const char* folder;
        const char* name;
        const char* expected;
    } cases[] = {
        {"C:\\engines", "x.dll", "C:\\engines\\x.dll"},
        {"C:\\engines\\", "x.dll", "C:\\engines\\x.dll"},
        {"", "x.dll", "x.dll"},
        {"C:\\" HYO, "*.TXV", "C:\\" HYO "\\*.TXV"},
    };
    for (const auto& c : cases) {
        CGString joined = JoinPath(c.folder, c.name);
        EXPECT_STREQ(c.expected, joined.Text());
        EXPECT_EQ(lstrlenA(c.expected) + 1, joined.Capacity());
    }
}

TEST(PathFunctions, IsRootPath)
{
    const struct {
        const char* path;
        BOOL expected;
    } cases[] = {
        {"C:\\", TRUE},   {"\\", TRUE}, {"\\\\server\\share", TRUE}, {"\\dir\\", TRUE}, {"C:", FALSE},
        {"C:\\x", FALSE}, {"", FALSE},   {"D:\\", TRUE},               {"C:/", FALSE},    {"CC\\", FALSE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, IsRootPath(c.path)) << '"' << c.path << '"';
}

} // namespace
