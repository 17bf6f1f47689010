// The screen: its size and pixel density, the cursor, the cursor table, the
// forms, and the screen's device context (GetDC(0)). When the primary
// screen's size changes every form gets WM_DISPLAYCHANGE (WParam bits per
// pixel, LParam width and height).
//
// The screen surface: on the offscreen platform (tests) drawing goes to a
// virtual screen image that tests read; copying from it gives what was drawn
// there. On X11 the surface copies the real screen when it is read and draws
// focus rectangles natively on the root window (XOR, across child windows),
// so a trail drawn twice leaves the screen as it was.
#pragma once

#include "framework/Classes.h"
#include "framework/Controls.h"
#include "framework/Surface.h"
#include "framework/Types.h"

#include <QCursor>

#include <map>
#include <memory>
#include <vector>

class TCustomForm;
class QObject;

class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* owner);
    ~TScreen() override;

    // The primary screen in pixels.
    int Width() const;
    int Height() const;
    // Pins the size (tests of placement rules); {0, 0} unpins.
    void SetSizeOverride(TSize size);
    // Qt's logical pixels per inch (through the canvas layer, which tests may pin).
    int PixelsPerInch() const;

    TPoint CursorPos() const;
    void SetCursorPos(TPoint point);

    // The cursor table: standard cursors at the negative crXXX indexes, and
    // room for the program's own (the hand cursor at -255, say).
    QCursor Cursors(TCursor index) const;
    void SetCursors(TCursor index, const QCursor& cursor);

    TCustomForm* ActiveForm() const;
    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int index) const { return forms_.at(static_cast<std::size_t>(index)); }

    // The screen's surface for GetDC(0).
    TSurface* ScreenSurface();

private:
    friend class TCustomForm;
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);

    // Tells every form when the screen's size changes (WM_DISPLAYCHANGE).
    void DisplayChanged();

    TSize sizeOverride_;
    std::unique_ptr<QObject> watcher_;
    std::map<TCursor, QCursor> cursors_;
    std::vector<TCustomForm*> forms_;
    std::unique_ptr<TSurface> surface_;
};

extern TScreen* Screen;
