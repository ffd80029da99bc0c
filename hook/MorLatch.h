#ifndef MORVANE_MORLATCH_H
#define MORVANE_MORLATCH_H

#include <windows.h>

/* The report MorLatch sends to the target window, from the thread that owns
   the window reported, while that thread waits (at most a fifth of a second):
     wParam  the window
     lParam  what happened to it, one of the MORLATCH_ kinds below
   Windows are reported only when they are of interest (ReportedClasses.h):
     MORLATCH_CREATED        it has just processed WM_CREATE (also when it
                             refused its creation): a caption class, a tab or
                             header control, or a top-level window with a
                             title bar
     MORLATCH_TEXT_SET       it has just processed a WM_SETTEXT that was not
                             Morvane's own: a caption class, or a top-level
                             window with a title bar
     MORLATCH_ITEMS_CHANGED  a tab control processed TCM_INSERTITEM or
                             TCM_SETITEM, or a header control HDM_INSERTITEM
                             or HDM_SETITEM (either character set)
   Nothing is reported from threads of programs the library cannot serve: the
   system runs the hook of a program of another bitness on the thread that
   installed it, where the window is out of reach. */
#define WM_MORLATCH_REPORT (WM_APP + 102)
#define MORLATCH_CREATED 0
#define MORLATCH_TEXT_SET 1
#define MORLATCH_ITEMS_CHANGED 2

/* Morvane's own writes carry this in WM_SETTEXT's wParam, which the system
   and the controls ignore, so that they are not reported back to it; a
   window procedure that passes the message on keeps the mark. */
#define MORLATCH_OWN_TEXT ((WPARAM)0x4D6F7256)

#ifdef __cplusplus
extern "C" {
#endif

/* Installs the desktop-wide hook reporting to target; 1 when installed. The
   hook belongs to the calling thread: it must pump messages for as long as
   the hook is in, and nothing else. */
int MorLatch(HWND target);
/* Removes the hook installed by MorLatch, if any; called on the same thread. */
void MorUnlatch(void);
/* The programs whose windows are never reported: file names ("notepad.exe")
   separated by ';', compared without case, at most 2047 bytes. Applies at once
   in every process, hooked or not yet; callable from any thread. */
void MorLatchExclude(const char* programs);

#ifdef __cplusplus
}
#endif

#endif
