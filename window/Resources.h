// The bitmaps the converter window carries as resources: the spin arrows
// "SpinUp" and "SpinDown" and the caption icon "MainIcon".
#pragma once

#include "framework/graphics/Bitmap.h"

#include <memory>

// Raises EResNotFound for a name that is not there.
std::unique_ptr<TBitmap> LoadWindowBitmap(const char* name);

// The path of the application icon for the window system (":/..." resource).
const char* AppIconResource();
