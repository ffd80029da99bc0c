#include "conversion/RemoteMemory.h"

namespace {

BOOL IsWow64(HANDLE process)
{
    BOOL wow64 = FALSE;
    return IsWow64Process(process, &wow64) && wow64;
}

} // namespace

CRemoteMemory::CRemoteMemory() : m_nProcessId(0), m_hProcess(NULL), m_pBlock(NULL), m_b64Bit(FALSE) {}

CRemoteMemory::~CRemoteMemory()
{
    Release();
}

BOOL CRemoteMemory::Attach(HWND hwnd)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(hwnd, &processId);
    if (processId == 0)
        return FALSE;
    if (processId == m_nProcessId && m_pBlock != NULL)
        return TRUE;
    Release();
    m_hProcess = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                             FALSE, processId);
    if (m_hProcess == NULL)
        return FALSE;
    m_pBlock = VirtualAllocEx(m_hProcess, NULL, kSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (m_pBlock == NULL) {
        Release();
        return FALSE;
    }
    m_nProcessId = processId;
    // A 32-bit program on a 64-bit system runs under WOW64 as this one does; a
    // program that does not, there, is a 64-bit one.
    m_b64Bit = IsWow64(GetCurrentProcess()) && !IsWow64(m_hProcess);
    return TRUE;
}

void CRemoteMemory::Release()
{
    if (m_pBlock != NULL)
        VirtualFreeEx(m_hProcess, m_pBlock, 0, MEM_RELEASE);
    if (m_hProcess != NULL)
        CloseHandle(m_hProcess);
    m_pBlock = NULL;
    m_hProcess = NULL;
    m_nProcessId = 0;
    m_b64Bit = FALSE;
}

BOOL CRemoteMemory::Read(SIZE_T offset, void* data, SIZE_T size) const
{
    SIZE_T done = 0;
    return m_pBlock != NULL && offset + size <= kSize &&
           ReadProcessMemory(m_hProcess, static_cast<char*>(m_pBlock) + offset, data, size, &done) && done == size;
}

BOOL CRemoteMemory::Write(SIZE_T offset, const void* data, SIZE_T size) const
{
    SIZE_T done = 0;
    return m_pBlock != NULL && offset + size <= kSize &&
           WriteProcessMemory(m_hProcess, static_cast<char*>(m_pBlock) + offset, data, size, &done) && done == size;
}
