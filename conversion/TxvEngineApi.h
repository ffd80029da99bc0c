/*
 * The contract between Morvane and a conversion engine (a .TXV library).
 *
 * An engine is a 32-bit Windows DLL with the extension .TXV that exports the
 * functions below, WINAPI and undecorated (build it with a .def file or with
 * -Wl,--kill-at). Texts are zero-terminated byte strings in the system's ANSI
 * code page; every buffer size counts bytes and includes the terminating zero.
 * BOOL results: zero means failure or nothing to do.
 *
 * Order of calls for one load of the library:
 *   1. TXVGetAPIVersion, right after LoadLibrary (missing counts as 0).
 *   2. TXVGetEngineDescription / TXVGetEngineVersion, maybe, without init.
 *   3. TXVInitEngine, once, before any conversion, setting or about call.
 *   4. TXVConvertCaptionString, TXVOnSetting, TXVOnAbout, any number of times.
 *   5. TXVExitEngine, only if TXVInitEngine succeeded; then FreeLibrary.
 * Calls come one at a time, each after the previous one returned.
 * TXVConvertCaptionString comes from a thread the host keeps for this engine
 * alone, which serves its messages between calls (windows and timers made
 * there keep working); every other call comes from the host's user-interface
 * thread. A conversion that has neither returned nor let its thread serve a
 * message for about a second is given up: the engine is stopped, never called
 * again (not even TXVExitEngine) and its library stays loaded until the host
 * ends. So does the library of an engine that raises an exception; exports
 * must not throw C++ exceptions (one that leaves an export stops the engine).
 */
#ifndef MORVANE_TXV_ENGINE_API_H
#define MORVANE_TXV_ENGINE_API_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

/* High 16 bits: the major version of this interface. The host accepts
   0x00000001 to 0x0001FFFF; the low 16 bits are the engine's own. */
#define TXV_API_VERSION_1 0x00010000UL
#define TXV_API_VERSION_MIN 0x00000001UL
#define TXV_API_VERSION_MAX 0x0001FFFFUL
#define TXV_API_MAJOR_VERSION 1

/* Class name the host passes when it previews the user's sample string. */
#define TXV_SAMPLE_CLASS_NAME "@Sample"

/* Class names the host passes for texts that are not a control's caption:
   the title of a top-level window or dialog, a tab control's tab label, a
   header control's column header (list views' included), a menu item's text
   (menu bars and popup menus). */
#define TXV_TITLE_CLASS_NAME "@Title"
#define TXV_TAB_CLASS_NAME "@Tab"
#define TXV_HEADER_CLASS_NAME "@Header"
#define TXV_MENU_CLASS_NAME "@Menu"

/* Output buffer sizes the host passes to TXVConvertCaptionString. */
#define TXV_WINDOW_OUTPUT_SIZE 256
#define TXV_PREVIEW_OUTPUT_SIZE 512

/* The longest text, in bytes, the host hands to TXVConvertCaptionString. */
#define TXV_MAX_TEXT_LENGTH 1023

/* Required: the interface version the engine was written for. */
typedef DWORD(WINAPI* PFN_TXVGetAPIVersion)(void);

/* Required to be listed: one-line description / short version text. */
typedef BOOL(WINAPI* PFN_TXVGetEngineDescription)(LPSTR buffer, int bufferSize);
typedef BOOL(WINAPI* PFN_TXVGetEngineVersion)(LPSTR buffer, int bufferSize);

/* Required for any use; called once per load. */
typedef BOOL(WINAPI* PFN_TXVInitEngine)(void);

/* Optional: releases what TXVInitEngine acquired. */
typedef void(WINAPI* PFN_TXVExitEngine)(void);

/* The conversion. className is the control's window class ("Button",
   "Static", "TButton", "TCheckBox", "TGroupBox"), "@Sample", or one of the
   class names of other texts above; text is its
   current caption (at most 1023 bytes). outBuffer arrives zero-filled; write
   the new caption there, terminated, within outBufferSize bytes, and return
   non-zero. Return zero to leave the caption alone. */
typedef BOOL(WINAPI* PFN_TXVConvertCaptionString)(LPCSTR className, LPCSTR text, LPSTR outBuffer, int outBufferSize);

/* Optional: the engine's own settings and about boxes, owned by hwndParent. */
typedef void(WINAPI* PFN_TXVOnSetting)(HWND hwndParent);
typedef void(WINAPI* PFN_TXVOnAbout)(HWND hwndParent);

/* The exports as an engine defines them. The host never links to these: it
   looks each one up by name, so an engine defines only those it supports. */
DWORD WINAPI TXVGetAPIVersion(void);
BOOL WINAPI TXVGetEngineDescription(LPSTR buffer, int bufferSize);
BOOL WINAPI TXVGetEngineVersion(LPSTR buffer, int bufferSize);
BOOL WINAPI TXVInitEngine(void);
void WINAPI TXVExitEngine(void);
BOOL WINAPI TXVConvertCaptionString(LPCSTR className, LPCSTR text, LPSTR outBuffer, int outBufferSize);
void WINAPI TXVOnSetting(HWND hwndParent);
void WINAPI TXVOnAbout(HWND hwndParent);

#ifdef __cplusplus
}
#endif

#endif
