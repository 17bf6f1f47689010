// The canvas layer in one include: colours, fonts, brushes and pens, regions
// and palettes, raster operations, device contexts, bitmaps and the canvas.
#pragma once

#include "framework/Bitmap.h"
#include "framework/Canvas.h"
#include "framework/Colors.h"
#include "framework/DeviceContext.h"
#include "framework/Fonts.h"
#include "framework/GdiObjects.h"
#include "framework/PenAndBrush.h"
#include "framework/RasterOps.h"
#include "framework/Surface.h"
