/*
 * The probe engine: one source, built as several test engines that differ by
 * their compile definitions (see ProbeEngine.h for what each variant does).
 * It includes nothing before the engine header, so that every build of it
 * proves the header stands on its own, in C and in C++.
 */
#include "conversion/TxvEngineApi.h"

#ifndef PROBE_NAME
#error PROBE_NAME names the variant in the call log
#endif
#ifndef PROBE_API_VERSION
#define PROBE_API_VERSION TXV_API_VERSION_1
#endif
#ifndef PROBE_INIT_RESULT
#define PROBE_INIT_RESULT TRUE
#endif

static int g_nSettingCalls;

/* Appends one line to the file named by MORVANE_ENGINE_LOG, opened and closed
   per call so that another process can read it at any moment. */
static void LogCall(const char* call, const char* details)
{
    char path[MAX_PATH];
    char line[512];
    HANDLE file;
    DWORD written;
    DWORD length = GetEnvironmentVariableA("MORVANE_ENGINE_LOG", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    wsprintfA(line, "%s %s%s%s\n", PROBE_NAME, call, details[0] != '\0' ? " " : "", details);
    file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    WriteFile(file, line, (DWORD)lstrlenA(line), &written, NULL);
    CloseHandle(file);
}

#ifdef PROBE_FAULT_BY_ENVIRONMENT
static volatile int g_zero;
static int* volatile g_null;

/* Whether MORVANE_FAULT names this fault. */
static BOOL IsFault(const char* fault)
{
    char value[16];
    DWORD length = GetEnvironmentVariableA("MORVANE_FAULT", value, sizeof(value));
    return length > 0 && length < sizeof(value) && lstrcmpA(value, fault) == 0;
}

static int Recurse(int depth)
{
    volatile char frame[512];
    frame[0] = (char)depth;
    return g_zero == 12345 ? 0 : Recurse(depth + 1) + frame[0];
}

static void CALLBACK LogTimer(HWND window, UINT msg, UINT_PTR id, DWORD time)
{
    (void)window;
    (void)msg;
    (void)id;
    (void)time;
    LogCall("timer", "");
}

static void FaultInConversion(LPCSTR text)
{
    if (IsFault("hang")) {
        for (;;)
            Sleep(100);
    }
    if (IsFault("timer") && SetTimer(NULL, 0, 100, LogTimer) != 0)
        *g_null = 4;
#ifdef __cplusplus
    if (IsFault("throw"))
        throw 1;
#endif
    if (IsFault("access"))
        *g_null = 1;
    if (IsFault("divide"))
        g_zero = 100 / g_zero;
    if (IsFault("stack"))
        g_zero = Recurse(0);
    if (IsFault("illegal"))
        __asm__ volatile("ud2");
    if (IsFault("box"))
        MessageBoxA(NULL, text, "Probe engine", MB_OK);
}
#endif

/* Writes text into buffer, truncated to fit, or with PROBE_UNTERMINATED fills
   every byte with the double-byte character 0x95 0x5C and no terminator. */
static BOOL FillBuffer(LPSTR buffer, int bufferSize, const char* text)
{
#ifdef PROBE_UNTERMINATED
    int i;
    (void)text;
    for (i = 0; i < bufferSize; ++i)
        buffer[i] = (char)(i % 2 == 0 ? 0x95 : 0x5C);
#else
    lstrcpynA(buffer, text, bufferSize);
#endif
    return TRUE;
}

#ifdef __cplusplus
extern "C"
#endif
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    (void)instance;
    if (reason == DLL_PROCESS_ATTACH)
        LogCall("attach", "");
    else if (reason == DLL_PROCESS_DETACH)
        LogCall("detach", "");
    return TRUE;
}

#ifndef PROBE_NO_GET_API_VERSION
DWORD WINAPI TXVGetAPIVersion(void)
{
    LogCall("TXVGetAPIVersion", "");
    return PROBE_API_VERSION;
}
#endif

#ifndef PROBE_NO_DESCRIPTION
BOOL WINAPI TXVGetEngineDescription(LPSTR buffer, int bufferSize)
{
    LogCall("TXVGetEngineDescription", "");
#ifdef PROBE_LONG_DESCRIPTION
    {
        int i;
        for (i = 0; i < 200 && i < bufferSize; ++i)
            buffer[i] = 'D';
        return TRUE;
    }
#else
    return FillBuffer(buffer, bufferSize, "Probe engine " PROBE_NAME);
#endif
}
#endif

BOOL WINAPI TXVGetEngineVersion(LPSTR buffer, int bufferSize)
{
    char text[32];
    LogCall("TXVGetEngineVersion", "");
#ifdef PROBE_VERSION_TEXT_FAILS
    (void)text;
    (void)buffer;
    (void)bufferSize;
    return FALSE;
#else
    wsprintfA(text, "API %08lX", (unsigned long)PROBE_API_VERSION);
    return FillBuffer(buffer, bufferSize, text);
#endif
}

BOOL WINAPI TXVInitEngine(void)
{
    LogCall("TXVInitEngine", "");
    g_nSettingCalls = 0;
    return PROBE_INIT_RESULT;
}

BOOL WINAPI TXVConvertCaptionString(LPCSTR className, LPCSTR text, LPSTR outBuffer, int outBufferSize)
{
    char details[256];
    wsprintfA(details, "%.200s %d", className, outBufferSize);
    LogCall("TXVConvertCaptionString", details);
#ifdef PROBE_FAULT_BY_ENVIRONMENT
    FaultInConversion(text);
#endif
#ifdef PROBE_DECLINES_DASHED
    if (text[0] == '-')
        return FALSE;
#endif
#if defined(PROBE_DECLINES)
    (void)text;
    FillBuffer(outBuffer, outBufferSize, "declined");
    return FALSE;
#elif defined(PROBE_CONVERT_WRITES_NOTHING)
    (void)text;
    (void)outBuffer;
    (void)outBufferSize;
    return TRUE;
#elif defined(PROBE_CONVERT_FILLS_BUFFER)
    {
        int i;
        (void)text;
        for (i = 0; i < outBufferSize; ++i)
            outBuffer[i] = 'W';
        return TRUE;
    }
#else
    {
        /* Each call of TXVOnSetting switches the brackets, so a refreshed preview shows. */
        char converted[1028];
        converted[0] = g_nSettingCalls % 2 == 0 ? '[' : '<';
        lstrcpynA(converted + 1, text, 1024);
        lstrcatA(converted, g_nSettingCalls % 2 == 0 ? "]" : ">");
        return FillBuffer(outBuffer, outBufferSize, converted);
    }
#endif
}

#ifndef PROBE_NO_OPTIONAL
void WINAPI TXVExitEngine(void)
{
    LogCall("TXVExitEngine", "");
#ifdef PROBE_FAULT_BY_ENVIRONMENT
    if (IsFault("exit"))
        *g_null = 3;
#endif
}

void WINAPI TXVOnSetting(HWND hwndParent)
{
    char details[32];
    wsprintfA(details, "%08lX", (unsigned long)(ULONG_PTR)hwndParent);
    LogCall("TXVOnSetting", details);
#ifdef PROBE_SETTING_SHOWS_BOX
    MessageBoxA(hwndParent, "Probe engine settings", "Probe settings", MB_OK);
#endif
#ifdef PROBE_FAULT_BY_ENVIRONMENT
    if (IsFault("setting"))
        *g_null = 2;
#endif
    ++g_nSettingCalls;
}

void WINAPI TXVOnAbout(HWND hwndParent)
{
    char details[32];
    wsprintfA(details, "%08lX", (unsigned long)(ULONG_PTR)hwndParent);
    LogCall("TXVOnAbout", details);
}
#endif
