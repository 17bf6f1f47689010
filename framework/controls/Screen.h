// The screen: the display it owns and installs for the window layer (size,
// pixel density, the cursor, the screen's device context GetDC(0)), the cursor
// table and the forms. When the primary screen's size changes every form gets
// WM_DISPLAYCHANGE (WParam bits per pixel, LParam width and height).
#pragma once

#include "framework/runtime/Classes.h"
#include "framework/windows/Display.h"
#include "framework/windows/Cursors.h"
#include "framework/runtime/Types.h"

#include <QCursor>

#include <map>
#include <memory>
#include <vector>

class TCustomForm;

class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* owner);
    ~TScreen() override;

    // The primary screen in pixels.
    int Width() const { return display_->Width(); }
    int Height() const { return display_->Height(); }
    // Pins the size (tests of placement rules); {0, 0} unpins.
    void SetSizeOverride(TSize size) { display_->SetSizeOverride(size); }
    // Qt's logical pixels per inch (through the canvas layer, which tests may pin).
    int PixelsPerInch() const { return display_->PixelsPerInch(); }

    TPoint CursorPos() const { return display_->CursorPos(); }
    void SetCursorPos(TPoint point) { display_->SetCursorPos(point); }

    // The cursor table: standard cursors at the negative crXXX indexes, and
    // room for the program's own (the hand cursor at -255, say).
    QCursor Cursors(TCursor index) const;
    void SetCursors(TCursor index, const QCursor& cursor);

    TCustomForm* ActiveForm() const;
    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int index) const { return forms_.at(static_cast<std::size_t>(index)); }

    // The screen's surface for GetDC(0).
    TSurface* ScreenSurface() { return display_->ScreenSurface(); }
    TDisplay& Display() { return *display_; }

private:
    friend class TCustomForm;
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);

    // Tells every form when the screen's size changes (WM_DISPLAYCHANGE).
    void DisplayChanged();

    std::unique_ptr<TDisplay> display_;
    TDisplay* previousDisplay_ = nullptr;
    std::map<TCursor, QCursor> cursors_;
    std::vector<TCustomForm*> forms_;
};

extern TScreen* Screen;
