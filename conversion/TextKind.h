#pragma once

// The kinds of text beside control captions that the walker converts, as bits
// of the preference that turns each on.
enum TextKind {
    kTitleKind = 1,
    kTabKind = 2,
    kHeaderKind = 4,
    kMenuKind = 8,
    kAllKinds = kTitleKind | kTabKind | kHeaderKind | kMenuKind,
};
