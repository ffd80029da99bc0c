#ifndef MORVANE_MORLATCH_H
#define MORVANE_MORLATCH_H

#include <windows.h>

/* Sent to the target window, from the creating thread, for every window that
   has just processed WM_CREATE: wParam is the new window, lParam 0. */
#define WM_MORLATCH_CREATED (WM_APP + 102)

#ifdef __cplusplus
extern "C" {
#endif

/* Installs the desktop-wide hook reporting to target; 1 when installed. */
int MorLatch(HWND target);
/* Removes the hook installed by MorLatch, if any. */
void MorUnlatch(void);

#ifdef __cplusplus
}
#endif

#endif
