# framework_graphics: the canvas layer with the window system's drawing rules
# on QImage: colours, fonts, GDI objects, raster operations, device contexts,
# bitmaps and TCanvas. Qt Gui only, no widgets.
add_library(framework_graphics STATIC
  Classes.cpp
  Colors.cpp
  GdiObjects.cpp
  Surface.cpp
  RasterOps.cpp
  Fonts.cpp
  PenAndBrush.cpp
  DeviceContext.cpp
  Fill.cpp
  Shapes.cpp
  Blit.cpp
  TextOut.cpp
  DrawText.cpp
  Edges.cpp
  Bitmap.cpp
  Canvas.cpp
)
target_include_directories(framework_graphics PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(framework_graphics PUBLIC framework_sysutils Qt6::Gui Qt6::Core)
