// TFxForm: the form services component. Dropped on a form, it gives the window
// an opening trail (focus rectangles from the pointer to the window before it
// becomes visible), track-size and maximized limits, events for the
// system-wide window messages, acceptance of dropped files, rescaling for the
// screen's pixel density, and the window's placement kept in a settings store.
//
// It hooks the form's window procedure and takes over the form's OnShow and
// OnDestroy, calling the handlers the form had after its own work.
#pragma once

#include "services/FxWndProc.h"

#include "framework/runtime/Types.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

class TFxIniCtrl;

enum TFxDlgEffect { deNone, deExplode, deExplodeExt };

enum TFxFormOption { foAutoCenter, foAutoShow, foTryAdaptRes, foRestoreOnce };
using TFxFormOptions = Set<TFxFormOption>;

enum TFxIniUse { ioNone, ioUseLink, ioUseGlobal };

enum TFxFormIniSaveOption { soColor, soFont, soPos, soSize, soState };
using TFxFormIniSaveOptions = Set<TFxFormIniSaveOption>;

// The eight size properties, by the index their shared setter takes.
enum TFxSizeIndex {
    siTrackMaxHeight, siTrackMaxWidth, siTrackMinHeight, siTrackMinWidth,
    siMaximizedHeight, siMaximizedWidth, siMaximizedPosX, siMaximizedPosY
};

// The size properties in pixels. A property of 0 leaves the window system's
// value alone.
struct TFxSizeLimits {
    int MaxWidth = 0, MaxHeight = 0, MinWidth = 0, MinHeight = 0;
    int MaxLeft = 0, MaxTop = 0, MaxedWidth = 0, MaxedHeight = 0;
    friend bool operator==(const TFxSizeLimits&, const TFxSizeLimits&) = default;
};

// A size property in pixels: v itself when v >= 0, else the screen dimension
// divided by -v (so -2 is half the screen).
int ResolveSize(int value, int dimension);
// All eight in pixels, the track maxima held to the screen and the minima to
// the maxima. properties is indexed by TFxSizeIndex.
TFxSizeLimits ComputeSizeLimits(const std::array<int, 8>& properties, int screenWidth, int screenHeight);

using TFxSizeEvent = std::function<void(TObject* sender, int xSize, int ySize, int flag)>;
using TFxSectionEvent = std::function<void(TObject* sender, const std::string& section)>;
using TFxValueEvent = std::function<void(TObject* sender, int value)>;
using TFxMovingEvent = std::function<void(TObject* sender, int x, int y, bool& cancel)>;
using TFxCancelEvent = std::function<void(TObject* sender, bool& cancel)>;
using TFxTrackInfoEvent =
    std::function<void(TObject* sender, int& minWidth, int& minHeight, int& maxWidth, int& maxHeight)>;
using TFxMaximizeInfoEvent = std::function<void(TObject* sender, int& x, int& y, int& maxWidth, int& maxHeight)>;
using TFxDropFilesEvent =
    std::function<void(TObject* sender, int count, int x, int y, const std::vector<std::string>& files)>;

class TFxForm : public TFxWndProcComponent {
public:
    explicit TFxForm(TComponent* owner);
    ~TFxForm() override;

    bool AcceptFiles() const { return acceptFiles_; }
    void SetAcceptFiles(bool accept);
    TFxDlgEffect Effect = deNone;
    TFxIniCtrl* IniLink() const { return iniLink_; }
    void SetIniLink(TFxIniCtrl* link);
    TFxIniUse IniUse = ioNone;
    TFxFormIniSaveOptions IniSaveOptions{soPos, soSize, soState};
    std::string Section = "Common";
    std::string IniKey;
    int DesignPPI = 96;
    TFxFormOptions Options{foAutoShow};

    // The eight size properties (see TFxSizeIndex). A value below -100, or one
    // that would cross the opposite limit, is refused and changes nothing.
    int SizeProperty(TFxSizeIndex index) const { return sizes_[index]; }
    void SetSizeProperty(TFxSizeIndex index, int value);
    int TrackMaxHeight() const { return sizes_[siTrackMaxHeight]; }
    int TrackMaxWidth() const { return sizes_[siTrackMaxWidth]; }
    int TrackMinHeight() const { return sizes_[siTrackMinHeight]; }
    int TrackMinWidth() const { return sizes_[siTrackMinWidth]; }
    int MaximizedHeight() const { return sizes_[siMaximizedHeight]; }
    int MaximizedWidth() const { return sizes_[siMaximizedWidth]; }
    int MaximizedPosX() const { return sizes_[siMaximizedPosX]; }
    int MaximizedPosY() const { return sizes_[siMaximizedPosY]; }
    void SetTrackMaxHeight(int v) { SetSizeProperty(siTrackMaxHeight, v); }
    void SetTrackMaxWidth(int v) { SetSizeProperty(siTrackMaxWidth, v); }
    void SetTrackMinHeight(int v) { SetSizeProperty(siTrackMinHeight, v); }
    void SetTrackMinWidth(int v) { SetSizeProperty(siTrackMinWidth, v); }
    void SetMaximizedHeight(int v) { SetSizeProperty(siMaximizedHeight, v); }
    void SetMaximizedWidth(int v) { SetSizeProperty(siMaximizedWidth, v); }
    void SetMaximizedPosX(int v) { SetSizeProperty(siMaximizedPosX, v); }
    void SetMaximizedPosY(int v) { SetSizeProperty(siMaximizedPosY, v); }

    const TFxSizeLimits& EffectiveLimits() const { return limits_; }
    int ScreenWidth() const { return screenWidth_; }
    int ScreenHeight() const { return screenHeight_; }
    bool Restored() const { return restored_; }

    // Runs where the form's OnShow would: the stored placement, the size
    // limits for the window state, the rescaling, then the form's own OnShow.
    void ShowHandler(TObject* sender);
    // Runs where the form's OnDestroy would: saves the placement, then the form's own.
    void DestroyHandler(TObject* sender);

    // The window's placement from and to the selected settings store; nothing
    // without one.
    void RestorePlacement();
    void SavePlacement();
    // The store IniUse selects, or nullptr.
    TFxIniCtrl* Store() const;

    // Rescales the form's controls from DesignPPI to the screen, once.
    void AdaptResolution();

    void Loaded() override;

    TNotifyEvent OnAPMCriticalResume;
    TNotifyEvent OnAPMResume;
    TFxCancelEvent OnAPMSuspendRequest;
    TFxValueEvent OnCompacting;
    TNotifyEvent OnNoRestoreData;
    TFxSectionEvent OnDevModeChange;
    TFxSizeEvent OnDisplayChange;
    TFxSectionEvent OnIniChange;
    TFxDropFilesEvent OnFMDragDrop;
    TNotifyEvent OnFontChange;
    TFxMaximizeInfoEvent OnMaximizeInfo;
    TNotifyEvent OnMove;
    TFxMovingEvent OnMoving;
    TNotifyEvent OnPaintIcon;
    TFxSizeEvent OnSize;
    TFxValueEvent OnSpoolerStatus;
    TNotifyEvent OnSysColorChange;
    TFxTrackInfoEvent OnTrackInfo;
    TNotifyEvent OnTimeChange;

protected:
    void Activate() override;
    void Deactivate() override;
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void RecomputeLimits();
    void ApplyMinMaxInfo(TMinMaxInfo& info);
    void DropFiles(WPARAM drop);
    void ApplyStoredPlacement(const std::string& value);

    bool acceptFiles_ = false;
    TFxIniCtrl* iniLink_ = nullptr;
    std::array<int, 8> sizes_{};
    TFxSizeLimits limits_;
    int screenWidth_ = 0;
    int screenHeight_ = 0;
    bool restored_ = false;
    bool adapted_ = false;
    bool takenOver_ = false;
    TNotifyEvent savedOnShow_;
    TNotifyEvent savedOnDestroy_;
};
