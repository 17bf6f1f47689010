// The classic move and size loops run inside the button press that starts
// them and return when the button comes up. A pointer track is that loop's
// modal part: it runs its own event loop while the left button is held.
// Either the program follows the pointer itself (no window manager to do it),
// or a window manager moves or sizes the window and the track only waits for
// the release, asking the X server, because the manager holds the pointer.
#pragma once

#include "framework/runtime/Types.h"

#include <functional>

class QWidget;

struct TTrackEnd {
    bool Cancelled = false; // Escape was pressed, or the window went away
    TPoint Release;         // the pointer when the button came up
};

// Follows the pointer over widget (which grabs it) until the left button is
// released, handing every position to onMove. Meanwhile the track takes the
// pointer and key events for itself; Escape cancels.
TTrackEnd FollowPointer(QWidget* widget, const std::function<void(TPoint)>& onMove);

// A window manager moves or sizes widget's window: waits until the left
// button is up, letting every event through.
TTrackEnd AwaitRelease(QWidget* widget);
