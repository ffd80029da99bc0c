#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

#include "tests/support/MorvaneRun.h"
#include "tests/support/Cp932.h"
#include "tests/support/TempFolder.h"

namespace {

// The bytes of a whole file.
std::string ReadBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

template <typename T>
bool ReadAt(const std::string& image, size_t offset, T* value)
{
    if (offset > image.size() || image.size() - offset < sizeof(T))
        return false;
    memcpy(value, image.data() + offset, sizeof(T));
    return true;
}

// A 32-bit PE image read from its file: its section table and a way from a
// relative virtual address to the file offset that holds it.
class PeFile {
public:
    explicit PeFile(const std::string& path) : m_image(ReadBytes(path))
    {
        IMAGE_DOS_HEADER dos;
        if (!ReadAt(m_image, 0, &dos) || dos.e_magic != IMAGE_DOS_SIGNATURE)
            return;
        if (!ReadAt(m_image, dos.e_lfanew, &m_nt) || m_nt.Signature != IMAGE_NT_SIGNATURE ||
            m_nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC)
            return;
        size_t sectionTable = dos.e_lfanew + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
                              m_nt.FileHeader.SizeOfOptionalHeader;
        for (WORD i = 0; i < m_nt.FileHeader.NumberOfSections; ++i) {
            IMAGE_SECTION_HEADER section;
            if (!ReadAt(m_image, sectionTable + i * sizeof(section), &section))
                return;
            m_sections.push_back(section);
        }
        m_bValid = true;
    }

    bool Valid() const { return m_bValid; }
    const std::vector<IMAGE_SECTION_HEADER>& Sections() const { return m_sections; }
    const IMAGE_DATA_DIRECTORY& Directory(int index) const { return m_nt.OptionalHeader.DataDirectory[index]; }

    // SIZE_MAX when no section holds the address.
    size_t OffsetOf(DWORD rva) const
    {
        for (const IMAGE_SECTION_HEADER& section : m_sections) {
            if (rva >= section.VirtualAddress && rva - section.VirtualAddress < section.SizeOfRawData)
                return section.PointerToRawData + (rva - section.VirtualAddress);
        }
        return SIZE_MAX;
    }

    std::string StringAt(DWORD rva) const
    {
        size_t offset = OffsetOf(rva);
        if (offset >= m_image.size())
            return "";
        return std::string(m_image.c_str() + offset);
    }

    // The libraries of the import table, lower-cased; false when the table is unreadable.
    bool ImportedLibraries(std::set<std::string>* names) const
    {
        const IMAGE_DATA_DIRECTORY& imports = Directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
        if (imports.VirtualAddress == 0)
            return true;
        size_t offset = OffsetOf(imports.VirtualAddress);
        for (;; offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
            IMAGE_IMPORT_DESCRIPTOR descriptor;
            if (!ReadAt(m_image, offset, &descriptor))
                return false;
            if (descriptor.Name == 0)
                return true;
            std::string name = StringAt(descriptor.Name);
            std::transform(name.begin(), name.end(), name.begin(), [](char c) { return static_cast<char>(tolower(c)); });
            names->insert(name);
        }
    }

private:
    std::string m_image;
    IMAGE_NT_HEADERS32 m_nt{};
    std::vector<IMAGE_SECTION_HEADER> m_sections;
    bool m_bValid = false;
};

TEST(MorLatchImage, ImportsNothingButKernel32AndUser32)
{
    PeFile image(BinaryFolder() + "\\MorLatch.dll");
    ASSERT_TRUE(image.Valid());
    std::set<std::string> libraries;
    ASSERT_TRUE(image.ImportedLibraries(&libraries));
    // Mapped into every process on the desktop: no runtime library may come with it.
    for (const std::string& library : libraries)
        EXPECT_TRUE(library == "kernel32.dll" || library == "user32.dll") << library;
    EXPECT_EQ(libraries.count("user32.dll"), 1u) << "the hook is installed through user32";
    EXPECT_EQ(image.Directory(IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT).VirtualAddress, 0u) << "no delayed imports";
    EXPECT_EQ(image.Directory(IMAGE_DIRECTORY_ENTRY_TLS).VirtualAddress, 0u) << "no thread-local callbacks";
}

TEST(MorLatchImage, SharesItsHookDataBetweenProcesses)
{
    PeFile image(BinaryFolder() + "\\MorLatch.dll");
    ASSERT_TRUE(image.Valid());
    const DWORD shared = IMAGE_SCN_MEM_SHARED | IMAGE_SCN_MEM_READ | IMAGE_SCN_MEM_WRITE;
    auto section = std::find_if(image.Sections().begin(), image.Sections().end(), [](const IMAGE_SECTION_HEADER& s) {
        return std::string(reinterpret_cast<const char*>(s.Name), strnlen(reinterpret_cast<const char*>(s.Name), 8)) ==
               ".shared";
    });
    ASSERT_NE(section, image.Sections().end());
    EXPECT_EQ(section->Characteristics & shared, shared);
}

// Morvane started in a folder of its own choosing: a relative engine name
// must not find a library that lies only in that folder.
class CurrentFolderTest : public MorvaneRunTest {
protected:
    void TearDown() override
    {
        if (m_started.hProcess != nullptr) {
            TerminateProcess(m_started.hProcess, 99);
            WaitForSingleObject(m_started.hProcess, 5000);
            CloseHandle(m_started.hProcess);
            CloseHandle(m_started.hThread);
        }
    }

    bool StartIn(const std::string& folder)
    {
        STARTUPINFOA startup{};
        startup.cb = sizeof(startup);
        std::string line = "\"" + Bin("Morvane.exe") + "\"";
        std::vector<char> buffer(line.begin(), line.end());
        buffer.push_back('\0');
        return CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                              &m_started) != FALSE;
    }

    PROCESS_INFORMATION m_started{};
};

TEST_F(CurrentFolderTest, ARelativeEngineNameIsNotLoadedFromTheCurrentFolder)
{
    CTempFolder folder;
    ASSERT_TRUE(CopyFileA(TestEnginePath("ProbeComplete.TXV").c_str(), folder.PathOf("CurrentOnly.TXV").c_str(),
                          FALSE));
    CPreferencesScope::SetString("Engine", "CurrentOnly.TXV");
    ASSERT_TRUE(StartIn(folder.Path()));

    HWND box = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (box = FindProcessDialog(m_started.dwProcessId, "Morvane")) != nullptr; }, 30000))
        << "the engine must not load";
    EXPECT_EQ(CMessageBoxWatcher::Read(box).text, Cp932("エンジンの読み込みに失敗しました。\n\n[ エラー詳細 ]\nERRCODE=126"));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    m_hMainWnd = WaitForTopLevelWindow("MorvaneWndClass", m_started.dwProcessId, 30000);
    ASSERT_NE(m_hMainWnd, nullptr);
    Command(40001);
    ASSERT_TRUE(WaitUntil([&] { return WaitForSingleObject(m_started.hProcess, 0) == WAIT_OBJECT_0; }, 15000));
    DWORD code = 1;
    GetExitCodeProcess(m_started.hProcess, &code);
    EXPECT_EQ(code, 0u);
}

} // namespace
