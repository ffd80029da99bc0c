#pragma once

#include <windows.h>

// One block of memory in the process of another program's window, through
// which the items of its controls are read and written. The block lives until
// Release or until a window of another process is attached.
class CRemoteMemory {
public:
    CRemoteMemory();
    ~CRemoteMemory();

    // Makes the block of kSize bytes in the process of hwnd unless it is there already.
    BOOL Attach(HWND hwnd);
    void Release();
    // Whether the attached process runs as a 64-bit program: its item structures are laid out so.
    BOOL Is64Bit() const { return m_b64Bit; }
    // The block's address in the attached process.
    UINT64 Address() const { return reinterpret_cast<UINT_PTR>(m_pBlock); }
    BOOL Read(SIZE_T offset, void* data, SIZE_T size) const;
    BOOL Write(SIZE_T offset, const void* data, SIZE_T size) const;

    static const SIZE_T kSize = 2048;

private:
    CRemoteMemory(const CRemoteMemory&) = delete;
    CRemoteMemory& operator=(const CRemoteMemory&) = delete;

    DWORD m_nProcessId;
    HANDLE m_hProcess;
    void* m_pBlock;
    BOOL m_b64Bit;
};
