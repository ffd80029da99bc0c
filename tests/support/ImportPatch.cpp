#include "tests/support/ImportPatch.h"

CImportPatch::CImportPatch(const char* dll, const char* function, void* replacement)
    : m_pSlot(nullptr), m_pOriginal(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(dll), function)))
{
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(NULL));
    LONG headers = reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew;
    IMAGE_NT_HEADERS* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + headers);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    IMAGE_IMPORT_DESCRIPTOR* descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
    // The loader has already bound every slot, so the slot is found by the
    // address it holds, whichever library name the import was spelled with.
    for (; m_pOriginal != nullptr && descriptor->Name != 0 && m_pSlot == nullptr; ++descriptor) {
        for (void** slot = reinterpret_cast<void**>(base + descriptor->FirstThunk); *slot != nullptr; ++slot) {
            if (*slot == m_pOriginal) {
                m_pSlot = slot;
                break;
            }
        }
    }
    if (m_pSlot != nullptr)
        Write(replacement);
}

CImportPatch::~CImportPatch()
{
    if (m_pSlot != nullptr)
        Write(m_pOriginal);
}

void CImportPatch::Write(void* value)
{
    DWORD protection;
    VirtualProtect(m_pSlot, sizeof(*m_pSlot), PAGE_READWRITE, &protection);
    *m_pSlot = value;
    VirtualProtect(m_pSlot, sizeof(*m_pSlot), protection, &protection);
}
