#include "tests/support/PeImage.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

std::string ReadBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace

CPeImage::CPeImage(const std::string& path) : m_image(ReadBytes(path))
{
    IMAGE_DOS_HEADER dos;
    if (!ReadAt(0, &dos) || dos.e_magic != IMAGE_DOS_SIGNATURE)
        return;
    if (!ReadAt(dos.e_lfanew, &m_nt) || m_nt.Signature != IMAGE_NT_SIGNATURE ||
        m_nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC)
        return;
    size_t sectionTable =
        dos.e_lfanew + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) + m_nt.FileHeader.SizeOfOptionalHeader;
    for (WORD i = 0; i < m_nt.FileHeader.NumberOfSections; ++i) {
        IMAGE_SECTION_HEADER section;
        if (!ReadAt(sectionTable + i * sizeof(section), &section))
            return;
        m_sections.push_back(section);
    }
    m_bValid = true;
}

template <typename T> bool CPeImage::ReadAt(size_t offset, T* value) const
{
    if (offset > m_image.size() || m_image.size() - offset < sizeof(T))
        return false;
    memcpy(value, m_image.data() + offset, sizeof(T));
    return true;
}

const IMAGE_SECTION_HEADER* CPeImage::Section(const char* name) const
{
    for (const IMAGE_SECTION_HEADER& section : m_sections) {
        if (strncmp(reinterpret_cast<const char*>(section.Name), name, IMAGE_SIZEOF_SHORT_NAME) == 0)
            return &section;
    }
    return nullptr;
}

size_t CPeImage::OffsetOf(DWORD rva) const
{
    for (const IMAGE_SECTION_HEADER& section : m_sections) {
        if (rva >= section.VirtualAddress && rva - section.VirtualAddress < section.SizeOfRawData)
            return section.PointerToRawData + (rva - section.VirtualAddress);
    }
    return SIZE_MAX;
}

std::string CPeImage::StringAt(DWORD rva) const
{
    size_t offset = OffsetOf(rva);
    if (offset >= m_image.size())
        return "";
    return std::string(m_image.c_str() + offset);
}

bool CPeImage::ImportedLibraries(std::vector<std::string>* names) const
{
    return ReadImports(names, nullptr);
}

bool CPeImage::ImportedFunctions(std::vector<std::string>* names) const
{
    std::vector<std::string> libraries;
    return ReadImports(&libraries, names);
}

bool CPeImage::ReadImports(std::vector<std::string>* libraries, std::vector<std::string>* functions) const
{
    const IMAGE_DATA_DIRECTORY& imports = Directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
    if (imports.VirtualAddress == 0)
        return true;
    size_t table = OffsetOf(imports.VirtualAddress);
    if (table == SIZE_MAX)
        return false;
    for (size_t offset = table;; offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        IMAGE_IMPORT_DESCRIPTOR descriptor;
        if (!ReadAt(offset, &descriptor))
            return false;
        if (descriptor.Name == 0)
            return true;
        std::string name = StringAt(descriptor.Name);
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        libraries->push_back(name);
        if (functions != nullptr && !ReadThunks(name, descriptor, functions))
            return false;
    }
}

bool CPeImage::ReadThunks(const std::string& library, const IMAGE_IMPORT_DESCRIPTOR& descriptor,
                          std::vector<std::string>* functions) const
{
    // The lookup table; old linkers left only the address table, which holds the same before binding.
    size_t thunks = OffsetOf(descriptor.OriginalFirstThunk != 0 ? descriptor.OriginalFirstThunk : descriptor.FirstThunk);
    if (thunks == SIZE_MAX)
        return false;
    for (size_t offset = thunks;; offset += sizeof(IMAGE_THUNK_DATA32)) {
        IMAGE_THUNK_DATA32 thunk;
        if (!ReadAt(offset, &thunk))
            return false;
        if (thunk.u1.AddressOfData == 0)
            return true;
        if (IMAGE_SNAP_BY_ORDINAL32(thunk.u1.Ordinal))
            functions->push_back(library + " #" + std::to_string(IMAGE_ORDINAL32(thunk.u1.Ordinal)));
        else
            functions->push_back(library + " " + StringAt(thunk.u1.AddressOfData + offsetof(IMAGE_IMPORT_BY_NAME, Name)));
    }
}

bool CPeImage::Exports(std::vector<std::string>* names, DWORD* functions) const
{
    IMAGE_EXPORT_DIRECTORY exports;
    const DWORD rva = Directory(IMAGE_DIRECTORY_ENTRY_EXPORT).VirtualAddress;
    if (rva == 0 || !ReadAt(OffsetOf(rva), &exports))
        return false;
    size_t table = OffsetOf(exports.AddressOfNames);
    if (table == SIZE_MAX && exports.NumberOfNames != 0)
        return false;
    for (DWORD i = 0; i < exports.NumberOfNames; ++i) {
        DWORD name = 0;
        if (!ReadAt(table + i * sizeof(DWORD), &name))
            return false;
        names->push_back(StringAt(name));
    }
    *functions = exports.NumberOfFunctions;
    return true;
}
