// Files dropped on a window. A window that accepts files gets each Qt drop of
// local files as WM_DROPFILES with a drop handle in WParam; the handler asks
// the handle for the names and the point. The framework releases the handle
// once the message has been handled, unless the handler released it first
// with DragFinish.
#pragma once

#include "framework/runtime/Types.h"
#include "framework/windows/Messages.h"

#include <string>
#include <vector>

struct TDropRecord;
using HDROP = TDropRecord*;

// Turns file drops on or off for window (a top-level window: drops anywhere
// on it, its children included, arrive at it). False for an unknown window.
bool DragAcceptFiles(HWND window, bool accept);

// index 0xFFFFFFFF: the number of files. Otherwise, with no buffer, the
// length of name index in bytes (UTF-8, without the terminating zero); with a
// buffer of size bytes, copies as much of the name as fits with a terminating
// zero and returns the bytes copied. 0 for an unknown handle or index.
UINT DragQueryFile(HDROP drop, UINT index, char* buffer, UINT size);
// Where the files were dropped, in the window's client coordinates.
bool DragQueryPoint(HDROP drop, TPoint& point);
// Releases the handle; the handle is invalid afterwards.
void DragFinish(HDROP drop);

// Sends WM_DROPFILES for files dropped at point (client coordinates) and
// releases the handle afterwards unless the handler did. The Qt side of
// DragAcceptFiles calls it; returns the message's result.
LRESULT DeliverDroppedFiles(HWND window, std::vector<std::string> files, TPoint point);
