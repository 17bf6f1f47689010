#include "services/FxApplication.h"

#include "framework/controls/Application.h"
#include "framework/controls/CursorResources.h"
#include "framework/runtime/ProgramFile.h"
#include "framework/controls/Screen.h"

TFxApplication* ApplicationServices = nullptr;

namespace {
constexpr int PatternSize = 8;
constexpr TFxTimerInterval SharedPoolInterval = 50;
} // namespace

bool IsBlank(const std::string& s)
{
    return s.find_first_not_of(' ') == std::string::npos;
}

std::string WithBackslash(const std::string& s)
{
    if (!IsBlank(s) && s.back() == '\\')
        return s;
    return s + '\\';
}

TFxApplication::TFxApplication() : TComponent(nullptr)
{
    globalIniCtrl_ = std::make_unique<TFxIniCtrl>(nullptr);

    // The instance lock is named after the program file, so every copy of the
    // program asks for the same one.
    const std::string programPath = ProgramFilePath();
    const std::string programName = ExtractFileName(programPath);
    if (!programName.empty()) {
        instanceMutex_ = TNamedMutex::Create(programName);
        prevInstance_ = instanceMutex_ != nullptr && instanceMutex_->AlreadyExisted();
    }

    // The shared pool stays idle until a client registers and starts it.
    timerPool_ = std::make_unique<TFxTimerPool>(nullptr, SharedPoolInterval);

    // Cursors are Qt pictures: only with the application's screen.
    if (Screen != nullptr)
        if (const std::optional<QCursor> hand = LoadCursor(FxHandCursorResource))
            Screen->SetCursors(crFxHand, *hand);

    logFileName_ = ChangeFileExt(programPath, ".LOG");
}

TFxApplication::~TFxApplication() = default;

TBitmap* TFxApplication::GetPatternBitmap(TColor color)
{
    if (patternColor_ == color)
        return patternBitmap_.get();
    if (!patternBitmap_) {
        patternBitmap_ = std::make_unique<TBitmap>(PatternSize, PatternSize);
        TCanvas* canvas = patternBitmap_->Canvas();
        canvas->Brush()->SetColor(clWhite);
        canvas->Brush()->SetStyle(bsSolid);
        canvas->FillRect(Rect(0, 0, PatternSize, PatternSize));
    }
    TCanvas* canvas = patternBitmap_->Canvas();
    for (int y = 0; y < PatternSize; ++y)
        for (int x = 0; x < PatternSize; ++x)
            if ((x % 2) != (y % 2))
                canvas->SetPixels(x, y, color);
    patternColor_ = color;
    return patternBitmap_.get();
}

std::string TFxApplication::DefaultRegPath() const
{
    std::string path = "Software\\";
    if (!IsBlank(RegPrefix))
        path += WithBackslash(RegPrefix);
    std::string name = Application != nullptr ? Application->Title() : std::string();
    if (IsBlank(name))
        name = ProgramFilePath();
    path += WithBackslash(name);
    if (!IsBlank(RegSuffix))
        path += WithBackslash(RegSuffix);
    return path;
}
