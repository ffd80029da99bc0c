#ifndef MORVANE_REPORTEDCLASSES_H
#define MORVANE_REPORTEDCLASSES_H

/* The window classes whose captions Morvane converts: the system's push
   buttons, check boxes, radio buttons, group boxes and static labels, and the
   names under which some frameworks register their own buttons, check boxes
   and group boxes. MorLatch reports these and the walker converts them: one
   list for both, so that neither sees a class the other leaves alone. */
static const char* const kCaptionClasses[] = {"Button", "Static", "TButton", "TCheckBox", "TGroupBox"};
#define CAPTION_CLASS_COUNT ((int)(sizeof(kCaptionClasses) / sizeof(kCaptionClasses[0])))

/* Controls whose texts are items rather than one caption. */
static const char kTabClass[] = "SysTabControl32";
static const char kHeaderClass[] = "SysHeader32";

/* A class name read into a buffer this long and cut there is longer than
   every name above, so it matches none of them. */
#define REPORTED_CLASS_BUFFER 17

#endif
