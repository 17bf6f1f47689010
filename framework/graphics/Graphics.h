// The canvas layer in one include: colours, fonts, brushes and pens, regions
// and palettes, raster operations, device contexts, bitmaps and the canvas.
#pragma once

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/DeviceContext.h"
#include "framework/graphics/Fonts.h"
#include "framework/graphics/GdiObjects.h"
#include "framework/graphics/PenAndBrush.h"
#include "framework/graphics/RasterOps.h"
#include "framework/graphics/Surface.h"
