#include "framework/controls/Screen.h"

#include "framework/controls/Application.h"
#include "framework/controls/Forms.h"

#include <QCursor>

#include <algorithm>

TScreen* Screen = nullptr;

namespace {

struct TStandardCursor {
    TCursor index;
    Qt::CursorShape shape;
};

constexpr TStandardCursor StandardCursors[] = {
    {crDefault, Qt::ArrowCursor},    {crNone, Qt::BlankCursor},         {crArrow, Qt::ArrowCursor},
    {crCross, Qt::CrossCursor},      {crIBeam, Qt::IBeamCursor},        {crSizeNESW, Qt::SizeBDiagCursor},
    {crSizeNS, Qt::SizeVerCursor},   {crSizeNWSE, Qt::SizeFDiagCursor}, {crSizeWE, Qt::SizeHorCursor},
    {crUpArrow, Qt::UpArrowCursor},  {crHourGlass, Qt::WaitCursor},     {crNo, Qt::ForbiddenCursor},
    {crHandPoint, Qt::PointingHandCursor}, {crSizeAll, Qt::SizeAllCursor},
};

} // namespace

TScreen::TScreen(TComponent* owner) : TComponent(owner)
{
    for (const TStandardCursor& entry : StandardCursors)
        cursors_[entry.index] = QCursor(entry.shape);
    display_ = std::make_unique<TDisplay>();
    display_->OnSizeChanged = [this] { DisplayChanged(); };
    previousDisplay_ = InstallDisplay(display_.get());
    Screen = this;
}

void TScreen::DisplayChanged()
{
    const LPARAM size = MakeLParam(Width(), Height());
    for (TCustomForm* form : std::vector<TCustomForm*>(forms_))
        if (form->HandleAllocated())
            RunGuarded(form, [form, size] { SendMessage(form->Handle(), WM_DISPLAYCHANGE, 24, size); });
}

TScreen::~TScreen()
{
    display_->OnSizeChanged = nullptr;
    if (CurrentDisplay() == display_.get())
        InstallDisplay(previousDisplay_);
    if (Screen == this)
        Screen = nullptr;
}

QCursor TScreen::Cursors(TCursor index) const
{
    const auto it = cursors_.find(index);
    return it != cursors_.end() ? it->second : QCursor(Qt::ArrowCursor);
}

void TScreen::SetCursors(TCursor index, const QCursor& cursor)
{
    cursors_[index] = cursor;
}

TCustomForm* TScreen::ActiveForm() const
{
    for (TCustomForm* form : forms_)
        if (form->Active())
            return form;
    return nullptr;
}

void TScreen::AddForm(TCustomForm* form)
{
    forms_.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form)
{
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
}
