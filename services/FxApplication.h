// TFxApplication: the program's one services object, ApplicationServices.
// The services module makes it when it starts, before the main window, and
// frees it when it finishes, after the window (see ServicesModule.h). It holds
// what the effect components share: the pattern bitmap, the registry path,
// the paint options and opening-effect delay, the previous-instance flag, the
// hand cursor, the timer pool and the global settings store. It hooks nothing.
#pragma once

#include "services/FxIniCtrl.h"
#include "services/FxTimerPool.h"

#include "framework/graphics/Bitmap.h"
#include "framework/runtime/Classes.h"
#include "framework/graphics/Colors.h"
#include "framework/controls/Controls.h"
#include "framework/runtime/NamedMutex.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// The hand cursor: cursor resource 16548, in the screen's cursor table at -255.
inline constexpr int FxHandCursorResource = 16548;
inline constexpr TCursor crFxHand = -255;

// The paint option that limits palettes to displays deeper than 8 bits per pixel.
inline constexpr std::uint8_t poPaletteAboveEightBits = 0x01;

class TFxApplication : public TComponent {
public:
    TFxApplication();
    ~TFxApplication() override;

    // Optional parts of DefaultRegPath around the program's own name.
    std::string RegPrefix;
    std::string RegSuffix;
    // Option bits of the painted effects' bitmap routines: with
    // poPaletteAboveEightBits set they realise a bitmap's palette only on a
    // display deeper than 8 bits per pixel; clear (as here), whenever asked.
    std::uint8_t PaintOptions = 0x36;
    // Busy-wait units per frame of the opening effects.
    std::uint8_t EffectDelay = 3;

    // An 8 by 8 brush pattern: color where exactly one of x and y is odd,
    // white elsewhere (a 50 % checkerboard). The bitmap stays owned here; it is
    // built once and redrawn only when another colour is asked for, so the
    // same colour returns it untouched.
    TBitmap* GetPatternBitmap(TColor color);

    // "Software\" [RegPrefix\] title-or-program-path\ [RegSuffix\]: the
    // application's title, or the program file's full path when the title is blank.
    std::string DefaultRegPath() const;

    // Another copy of the program held the instance lock when this one started.
    bool PrevInstance() const { return prevInstance_; }
    TFxTimerPool* TimerPool() const { return timerPool_.get(); }
    // The program path with the extension ".LOG". Nothing writes it.
    const std::string& LogFileName() const { return logFileName_; }

    // The settings store of forms whose IniUse is ioUseGlobal; owned here,
    // with the defaults of a new TFxIniCtrl.
    TFxIniCtrl* GlobalIniCtrl() const { return globalIniCtrl_.get(); }

private:
    std::unique_ptr<TBitmap> patternBitmap_;
    std::optional<TColor> patternColor_;
    bool prevInstance_ = false;
    std::unique_ptr<TNamedMutex> instanceMutex_; // held until the object goes
    std::unique_ptr<TFxTimerPool> timerPool_;
    std::unique_ptr<TFxIniCtrl> globalIniCtrl_;
    std::string logFileName_;
};

// Set while the services module runs (between StartServicesModule and
// FinishServicesModule), nullptr otherwise.
extern TFxApplication* ApplicationServices;

// s is empty or spaces only.
bool IsBlank(const std::string& s);
// s as it is when it is not blank and ends with '\', otherwise s followed by '\'.
std::string WithBackslash(const std::string& s);
