#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/PeImage.h"
#include "tests/support/ProcessDriver.h"

namespace {

// MorLatch.dll as the linker wrote it.
class LibraryImageTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_image.Valid()); }

    CPeImage m_image{BinaryFolder() + "\\MorLatch.dll"};
};

TEST_F(LibraryImageTest, SharedSectionIsReadableWritableAndShared)
{
    const IMAGE_SECTION_HEADER* shared = m_image.Section(".shared");
    ASSERT_NE(shared, nullptr) << "no .shared section";
    const DWORD wanted = IMAGE_SCN_MEM_READ | IMAGE_SCN_MEM_WRITE | IMAGE_SCN_MEM_SHARED;
    EXPECT_EQ(shared->Characteristics & wanted, wanted) << std::hex << shared->Characteristics;
    // The target window and the programs left alone (2 KiB), with their count, and nothing more: the hook
    // handle is the installing process's own.
    EXPECT_GE(shared->Misc.VirtualSize, sizeof(HWND) + 2048 + sizeof(LONG));
    EXPECT_LT(shared->Misc.VirtualSize, 2048u + 128u);
}

TEST_F(LibraryImageTest, ExportsExactlyTheThreeUndecoratedNames)
{
    std::vector<std::string> exported;
    DWORD functions = 0;
    ASSERT_TRUE(m_image.Exports(&exported, &functions));
    EXPECT_EQ(exported, (std::vector<std::string>{"MorLatch", "MorLatchExclude", "MorUnlatch"}));
    EXPECT_EQ(functions, 3u);
}

// Mapped into every process on the desktop: no runtime library may come with it.
TEST_F(LibraryImageTest, ImportsOnlyFromKernel32AndUser32AndRunsNothingAtLoad)
{
    std::vector<std::string> imported;
    ASSERT_TRUE(m_image.ImportedLibraries(&imported));
    for (const std::string& name : imported)
        EXPECT_TRUE(name == "kernel32.dll" || name == "user32.dll") << name;
    EXPECT_EQ(std::count(imported.begin(), imported.end(), "user32.dll"), 1) << "the hook is installed through user32";
    EXPECT_EQ(m_image.Directory(IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT).VirtualAddress, 0u) << "no delayed imports";
    EXPECT_EQ(m_image.Directory(IMAGE_DIRECTORY_ENTRY_TLS).VirtualAddress, 0u) << "no thread-local callbacks";
}

} // namespace
