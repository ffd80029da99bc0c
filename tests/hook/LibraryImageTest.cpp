#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// The library as the loader mapped it into this process: headers and sections as built.
class LibraryImageTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_pBase = reinterpret_cast<const BYTE*>(LoadLibraryA("MorLatch.dll"));
        ASSERT_NE(m_pBase, nullptr);
        const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(m_pBase);
        ASSERT_EQ(dos->e_magic, IMAGE_DOS_SIGNATURE);
        m_pNt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(m_pBase + dos->e_lfanew);
        ASSERT_EQ(m_pNt->Signature, static_cast<DWORD>(IMAGE_NT_SIGNATURE));
    }

    void TearDown() override
    {
        if (m_pBase != nullptr)
            FreeLibrary(reinterpret_cast<HMODULE>(const_cast<BYTE*>(m_pBase)));
    }

    template <class T>
    const T* At(DWORD rva) const
    {
        return reinterpret_cast<const T*>(m_pBase + rva);
    }

    const IMAGE_DATA_DIRECTORY& Directory(int index) const { return m_pNt->OptionalHeader.DataDirectory[index]; }

    const BYTE* m_pBase = nullptr;
    const IMAGE_NT_HEADERS32* m_pNt = nullptr;
};

TEST_F(LibraryImageTest, SharedSectionIsReadableWritableAndShared)
{
    const IMAGE_SECTION_HEADER* sections = IMAGE_FIRST_SECTION(m_pNt);
    const IMAGE_SECTION_HEADER* shared = nullptr;
    for (int i = 0; i < m_pNt->FileHeader.NumberOfSections; ++i) {
        if (strncmp(reinterpret_cast<const char*>(sections[i].Name), ".shared", IMAGE_SIZEOF_SHORT_NAME) == 0)
            shared = &sections[i];
    }
    ASSERT_NE(shared, nullptr) << "no .shared section";
    const DWORD wanted = IMAGE_SCN_MEM_READ | IMAGE_SCN_MEM_WRITE | IMAGE_SCN_MEM_SHARED;
    EXPECT_EQ(shared->Characteristics & wanted, wanted) << std::hex << shared->Characteristics;
    // The target window alone: the hook handle is the installing process's own.
    EXPECT_EQ(shared->Misc.VirtualSize, sizeof(HWND));
}

TEST_F(LibraryImageTest, ExportsExactlyTheTwoUndecoratedNames)
{
    ASSERT_NE(Directory(IMAGE_DIRECTORY_ENTRY_EXPORT).VirtualAddress, 0u);
    const IMAGE_EXPORT_DIRECTORY* exports =
        At<IMAGE_EXPORT_DIRECTORY>(Directory(IMAGE_DIRECTORY_ENTRY_EXPORT).VirtualAddress);
    const DWORD* names = At<DWORD>(exports->AddressOfNames);
    std::vector<std::string> exported;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        exported.push_back(At<char>(names[i]));
    EXPECT_EQ(exported, (std::vector<std::string>{"MorLatch", "MorUnlatch"}));
    EXPECT_EQ(exports->NumberOfFunctions, 2u);
}

TEST_F(LibraryImageTest, ImportsOnlyFromKernel32AndUser32)
{
    ASSERT_NE(Directory(IMAGE_DIRECTORY_ENTRY_IMPORT).VirtualAddress, 0u);
    std::vector<std::string> imported;
    for (const IMAGE_IMPORT_DESCRIPTOR* import =
             At<IMAGE_IMPORT_DESCRIPTOR>(Directory(IMAGE_DIRECTORY_ENTRY_IMPORT).VirtualAddress);
         import->Name != 0; ++import) {
        std::string name = At<char>(import->Name);
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        imported.push_back(name);
    }
    EXPECT_FALSE(imported.empty());
    for (const std::string& name : imported)
        EXPECT_TRUE(name == "kernel32.dll" || name == "user32.dll") << name;
}

} // namespace
