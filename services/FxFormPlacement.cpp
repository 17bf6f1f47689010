// The form side of the settings store: which store a form uses, keeping the
// link to it, and the window's placement, colour and font read back on show
// and written on destruction.
#include "services/FxForm.h"

#include "services/FxApplication.h"
#include "services/FxIniCtrl.h"
#include "services/FxIniRoutines.h"

#include "framework/controls/Forms.h"
#include "framework/graphics/Colors.h"
#include "framework/runtime/sysutils.h"

#include <algorithm>
#include <cstdint>

namespace {

// The first field of a placement record.
constexpr int PlacementMark = 200;

// Sums of stored numbers and sizes, held to the int range instead of overflowing.
int Clamped(long long value)
{
    return static_cast<int>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

} // namespace

TFxIniCtrl* TFxForm::Store() const
{
    switch (IniUse) {
    case ioUseLink:
        return iniLink_;
    case ioUseGlobal:
        return ApplicationServices != nullptr ? ApplicationServices->GlobalIniCtrl() : nullptr;
    case ioNone:
    default:
        return nullptr;
    }
}

void TFxForm::SetIniLink(TFxIniCtrl* link)
{
    if (link == iniLink_)
        return;
    if (iniLink_ != nullptr)
        RemoveFreeNotification(iniLink_);
    iniLink_ = link;
    if (iniLink_ != nullptr)
        FreeNotification(iniLink_);
}

void TFxForm::Notification(TComponent* component, TOperation operation)
{
    TFxWndProcComponent::Notification(component, operation);
    if (operation == opRemove) {
        if (component == iniLink_)
            iniLink_ = nullptr;
        return;
    }
    if (component == this) {
        // Arriving on a form that holds exactly one store: that is the link.
        TComponent* owner = Owner();
        if (owner == nullptr)
            return;
        TFxIniCtrl* only = nullptr;
        int stores = 0;
        for (int i = 0; i < owner->ComponentCount(); ++i)
            if (auto* store = dynamic_cast<TFxIniCtrl*>(owner->Components(i))) {
                only = store;
                ++stores;
            }
        if (stores == 1)
            SetIniLink(only);
        return;
    }
    if (IniUse == ioUseLink && iniLink_ == nullptr)
        if (auto* store = dynamic_cast<TFxIniCtrl*>(component))
            SetIniLink(store);
}

void TFxForm::SavePlacement()
{
    TFxIniCtrl* store = Store();
    TCustomForm* form = OwnerForm();
    if (store == nullptr || form == nullptr)
        return;
    TWindowPlacement placement;
    GetWindowPlacement(HookTarget(), placement);
    const TRect& r = placement.rcNormalPosition;
    // The record is written whatever the options hold.
    store->WriteString(Section, IniKey,
                       JoinIntegers({PlacementMark, static_cast<int>(placement.flags),
                                     static_cast<int>(placement.showCmd), r.Left, r.Top, r.Right, r.Bottom},
                                    ','));
    if (IniSaveOptions.Contains(soColor))
        store->WriteString(Section, IniKey + "Color", ColorToString(form->Color()));
    else
        store->EraseValue(Section, IniKey + "Color");
    if (IniSaveOptions.Contains(soFont))
        store->WriteString(Section, IniKey + "Font", FontToString(*form->Font()));
    else
        store->EraseValue(Section, IniKey + "Font");
}

void TFxForm::RestorePlacement()
{
    TFxIniCtrl* store = Store();
    TCustomForm* form = OwnerForm();
    if (store == nullptr || form == nullptr)
        return;
    // A field that is not a number raises out of here and leaves the rest undone.
    ApplyStoredPlacement(store->ReadString(Section, IniKey, ""));
    if (IniSaveOptions.Contains(soColor)) {
        const std::string color = store->ReadString(Section, IniKey + "Color", "");
        if (!color.empty())
            form->SetColor(StringToColor(color));
    }
    if (IniSaveOptions.Contains(soFont)) {
        const std::string font = store->ReadString(Section, IniKey + "Font", "");
        if (!font.empty())
            StringToFont(font, *form->Font());
    }
}

void TFxForm::ApplyStoredPlacement(const std::string& value)
{
    TCustomForm* form = OwnerForm();
    const bool pos = IniSaveOptions.Contains(soPos);
    const bool size = IniSaveOptions.Contains(soSize);
    const bool state = IniSaveOptions.Contains(soState);
    if (!pos && !size && !state && form->Position() != poScreenCenter)
        return;
    const HWND window = HookTarget();
    TWindowPlacement placement;
    GetWindowPlacement(window, placement); // members not restored keep their values
    std::vector<std::string> fields;
    SplitValue(value, ',', fields);
    if (fields.size() != 7 || fields[0] != "200") {
        if (Options.Contains(foAutoCenter))
            CenterOnScreen(*form);
        if (OnNoRestoreData)
            OnNoRestoreData(this);
        return;
    }
    if (state) {
        placement.flags = static_cast<UINT>(StrToInt(fields[1]));
        placement.showCmd = static_cast<UINT>(StrToInt(fields[2]));
        if (!Options.Contains(foAutoShow))
            placement.showCmd = SW_HIDE;
    }
    if (pos || size) {
        const TRect r{StrToInt(fields[3]), StrToInt(fields[4]), StrToInt(fields[5]), StrToInt(fields[6])};
        TRect& normal = placement.rcNormalPosition;
        if (pos) {
            normal.Left = r.Left;
            normal.Top = r.Top;
            if (!size) {
                normal.Right = Clamped(0LL + form->Width() + r.Left);
                normal.Bottom = Clamped(0LL + form->Height() + r.Top);
            }
        }
        if (size) {
            if (pos) {
                normal.Right = r.Right;
                normal.Bottom = r.Bottom;
            } else {
                normal.Right = Clamped(0LL + form->Left() + r.Right - r.Left);
                normal.Bottom = Clamped(0LL + form->Top() + r.Bottom - r.Top);
            }
        }
        // Pulled back onto the screen as it is now.
        if (normal.Left > screenWidth_)
            normal.Left = screenWidth_ / 2;
        if (normal.Top > screenHeight_)
            normal.Top = screenHeight_ / 2;
        if (normal.Right > screenWidth_)
            normal.Right = screenWidth_;
        if (normal.Bottom > screenHeight_)
            normal.Bottom = screenHeight_;
    }
    SetWindowPlacement(window, placement);
}
