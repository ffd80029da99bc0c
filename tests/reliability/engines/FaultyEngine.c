/*
 * A faulty engine: one source, built as several .TXV libraries that each break
 * one rule of the engine contract (the compile definitions pick the fault).
 * Without any definition it is a correct engine that converts a text to
 * "[" + text + "]".
 *
 *   FAULTY_API_VERSION=value   TXVGetAPIVersion returns value
 *   FAULTY_INIT_FAILS          TXVInitEngine returns 0
 *   FAULTY_CONVERT_WRITES_NOTHING  the conversion returns non-zero and writes nothing
 *   FAULTY_CONVERT_FILLS_BUFFER    the conversion fills every byte of the output with 'W', no terminator
 *   FAULTY_LONG_DESCRIPTION    the description is 200 bytes 'D' without a terminator
 *   FAULTY_SETTING_SHOWS_BOX   TXVOnSetting (exported only by this build) shows a
 *                              modal box owned by the host's dialog, after which
 *                              the conversion writes "<" + text + ">"
 *   FAULTY_BY_ENVIRONMENT      the environment variable MORVANE_FAULT picks a fault:
 *                              "access", "divide", "stack" or "illegal" in the
 *                              conversion, "setting" (an access violation) in
 *                              TXVOnSetting (exported by this build too), "exit"
 *                              (an access violation) in TXVExitEngine, "box" a
 *                              message box from every conversion; each call of the
 *                              conversion, TXVOnSetting and TXVExitEngine appends a
 *                              line with its name to the file MORVANE_ENGINE_LOG
 */
#include "conversion/TxvEngineApi.h"

#ifndef FAULTY_API_VERSION
#define FAULTY_API_VERSION TXV_API_VERSION_1
#endif

#define FAULTY_DESCRIPTION_LENGTH 200

#if !defined(FAULTY_CONVERT_WRITES_NOTHING) && !defined(FAULTY_CONVERT_FILLS_BUFFER)
static char g_open = '[';
static char g_close = ']';
#endif

#ifdef FAULTY_BY_ENVIRONMENT
static volatile int g_zero;
static int* volatile g_null;

static BOOL IsFault(const char* mode)
{
    char value[16];
    DWORD length = GetEnvironmentVariableA("MORVANE_FAULT", value, sizeof(value));
    return length > 0 && length < sizeof(value) && lstrcmpA(value, mode) == 0;
}

static void LogCall(const char* line)
{
    char path[MAX_PATH];
    DWORD written;
    HANDLE file;
    if (GetEnvironmentVariableA("MORVANE_ENGINE_LOG", path, MAX_PATH) - 1 >= MAX_PATH - 1)
        return;
    file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS, 0, NULL);
    WriteFile(file, line, (DWORD)lstrlenA(line), &written, NULL);
    CloseHandle(file);
}

static int Recurse(int depth)
{
    volatile char frame[512];
    frame[0] = (char)depth;
    return g_zero == 12345 ? 0 : Recurse(depth + 1) + frame[0];
}

static void Fault(void)
{
    if (IsFault("access"))
        *g_null = 1;
    if (IsFault("divide"))
        g_zero = 100 / g_zero;
    if (IsFault("stack"))
        g_zero = Recurse(0);
    if (IsFault("illegal"))
        __asm__ volatile("ud2");
}

void WINAPI TXVOnSetting(HWND hwndParent)
{
    (void)hwndParent;
    LogCall("TXVOnSetting\n");
    if (IsFault("setting"))
        *g_null = 2;
}
#else
#define LogCall(call)
#endif

DWORD WINAPI TXVGetAPIVersion(void)
{
    return FAULTY_API_VERSION;
}

BOOL WINAPI TXVGetEngineDescription(LPSTR buffer, int bufferSize)
{
#ifdef FAULTY_LONG_DESCRIPTION
    int i;
    for (i = 0; i < FAULTY_DESCRIPTION_LENGTH && i < bufferSize; ++i)
        buffer[i] = 'D';
#else
    lstrcpynA(buffer, "Faulty engine", bufferSize);
#endif
    return TRUE;
}

BOOL WINAPI TXVGetEngineVersion(LPSTR buffer, int bufferSize)
{
    lstrcpynA(buffer, "1.0", bufferSize);
    return TRUE;
}

BOOL WINAPI TXVInitEngine(void)
{
#ifdef FAULTY_INIT_FAILS
    return FALSE;
#else
    return TRUE;
#endif
}

void WINAPI TXVExitEngine(void)
{
    LogCall("TXVExitEngine\n");
#ifdef FAULTY_BY_ENVIRONMENT
    if (IsFault("exit"))
        *g_null = 3;
#endif
}

BOOL WINAPI TXVConvertCaptionString(LPCSTR className, LPCSTR text, LPSTR outBuffer, int outBufferSize)
{
    (void)className;
#if defined(FAULTY_CONVERT_WRITES_NOTHING)
    (void)text;
    (void)outBuffer;
    (void)outBufferSize;
#elif defined(FAULTY_CONVERT_FILLS_BUFFER)
    int i;
    (void)text;
    for (i = 0; i < outBufferSize; ++i)
        outBuffer[i] = 'W';
#else
#ifdef FAULTY_BY_ENVIRONMENT
    LogCall("TXVConvertCaptionString\n");
    Fault();
    if (IsFault("box"))
        MessageBoxA(NULL, text, "Faulty engine", MB_OK);
#endif
    if (outBufferSize < 3)
        return FALSE;
    outBuffer[0] = g_open;
    lstrcpynA(outBuffer + 1, text, outBufferSize - 2);
    int length = lstrlenA(outBuffer);
    outBuffer[length] = g_close;
    outBuffer[length + 1] = '\0';
#endif
    return TRUE;
}

#ifdef FAULTY_SETTING_SHOWS_BOX
void WINAPI TXVOnSetting(HWND hwndParent)
{
    MessageBoxA(hwndParent, "Faulty engine settings", "Faulty settings", MB_OK);
    g_open = '<';
    g_close = '>';
}
#endif
