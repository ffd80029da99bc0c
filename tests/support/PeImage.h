#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A 32-bit PE image read from its file, never mapped: what the linker wrote,
// with a way from a relative virtual address to the bytes that hold it.
class CPeImage {
public:
    explicit CPeImage(const std::string& path);

    bool Valid() const { return m_bValid; }
    const std::vector<IMAGE_SECTION_HEADER>& Sections() const { return m_sections; }
    // Null when there is no section of that name.
    const IMAGE_SECTION_HEADER* Section(const char* name) const;
    const IMAGE_DATA_DIRECTORY& Directory(int index) const { return m_nt.OptionalHeader.DataDirectory[index]; }

    // The libraries of the import table, lower-cased, in their order; false when the table is unreadable.
    bool ImportedLibraries(std::vector<std::string>* names) const;
    // Every imported function as "library name" (lower-cased library, "#n" for an ordinal); false when unreadable.
    bool ImportedFunctions(std::vector<std::string>* names) const;
    // The exported names and the number of exported functions; false when the table is missing or unreadable.
    bool Exports(std::vector<std::string>* names, DWORD* functions) const;

private:
    template <typename T> bool ReadAt(size_t offset, T* value) const;
    // SIZE_MAX when no section holds the address.
    size_t OffsetOf(DWORD rva) const;
    std::string StringAt(DWORD rva) const;
    bool ReadImports(std::vector<std::string>* libraries, std::vector<std::string>* functions) const;
    bool ReadThunks(const std::string& library, const IMAGE_IMPORT_DESCRIPTOR& descriptor,
                    std::vector<std::string>* functions) const;

    std::string m_image;
    IMAGE_NT_HEADERS32 m_nt{};
    std::vector<IMAGE_SECTION_HEADER> m_sections;
    bool m_bValid = false;
};
