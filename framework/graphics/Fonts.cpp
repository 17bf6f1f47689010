#include "framework/graphics/Fonts.h"

#include "framework/runtime/sysutils.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

namespace {

// Pinned by tests; 0 follows the screen.
int pixelsPerInchOverride = 0;

struct TSubstituteRow {
    const char* FaceName;
    TFontSubstitute Substitute;
};

// The cell heights the bitmap faces came in. "System" had one size per
// display class (16 pixels on ordinary screens, 20 on large-font ones, more on
// bigger displays); "MS Sans Serif" had 8, 10, 12, 14, 18 and 24 points. A
// form laid out in "System" therefore keeps its size on an ordinary screen
// instead of shrinking, and grows only on displays that had a larger face.
constexpr std::array<int, 5> SystemCells{16, 20, 24, 32, 40};
constexpr std::array<int, 6> SansSerifCells{13, 16, 20, 23, 29, 37};

// Faces the program names, and the installed families that stand in for them.
// Liberation Sans stands in for both bitmap faces: bold, its widths match the
// old "System" face closely (the captions laid out for that face fit), and its
// hinting keeps it crisp at small cells without antialiasing.
const std::array<TSubstituteRow, 6> SubstituteTable = {{
    {"Times New Roman", {"Liberation Serif", false, false, {}}},
    {"Arial", {"Liberation Sans", false, false, {}}},
    {"Courier New", {"Liberation Mono", false, false, {}}},
    {"System", {"Liberation Sans", true, true, SystemCells}},
    {"MS Sans Serif", {"Liberation Sans", false, true, SansSerifCells}},
    {"Symbol", {"DejaVu Sans", false, false, {}}},
}};

bool SameFaceName(const std::string& a, const char* b)
{
    std::size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return i == a.size() && b[i] == '\0';
}

// Heights beyond this are no font anyone draws; the bound keeps arithmetic safe.
constexpr int MaxPixelHeight = 4096;
constexpr int DefaultEmHeight = 12;

int CellHeight(const QFont& font)
{
    const QFontMetrics metrics(font);
    return metrics.ascent() + metrics.descent();
}

// The largest pixel (em) size whose cell is at most cell pixels high.
int EmSizeForCell(QFont font, int cell)
{
    font.setPixelSize(100);
    const QFontMetricsF reference(font);
    const double ratio = std::max(0.5, (reference.ascent() + reference.descent()) / 100.0);
    int em = std::clamp(static_cast<int>(std::lround(cell / ratio)) + 1, 1, MaxPixelHeight);
    font.setPixelSize(em);
    while (em > 1 && CellHeight(font) > cell)
        font.setPixelSize(--em);
    while (em < MaxPixelHeight) {
        font.setPixelSize(em + 1);
        if (CellHeight(font) > cell)
            break;
        ++em;
    }
    return em;
}

BYTE FamilyBits(const LOGFONT& description, const QString& family)
{
    if (description.lfPitchAndFamily & 0xF0)
        return description.lfPitchAndFamily & 0xF0;
    if (family.contains(QLatin1String("Mono")))
        return FF_MODERN;
    if (family.contains(QLatin1String("Serif")) && !family.contains(QLatin1String("Sans")))
        return FF_ROMAN;
    return FF_SWISS;
}

}  // namespace

int DisplayPixelsPerInch()
{
    if (pixelsPerInchOverride > 0)
        return pixelsPerInchOverride;
    if (QGuiApplication::instance() != nullptr) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            return std::max(1, static_cast<int>(std::lround(screen->logicalDotsPerInch())));
    }
    return 96;
}

void SetDisplayPixelsPerInchOverride(int pixelsPerInch)
{
    pixelsPerInchOverride = std::max(0, pixelsPerInch);
}

TFontSubstitute FontSubstitute(const std::string& faceName)
{
    for (const TSubstituteRow& row : SubstituteTable) {
        if (SameFaceName(faceName, row.FaceName))
            return row.Substitute;
    }
    return TFontSubstitute{faceName, false, false, {}};
}

int RasterCellFor(const TFontSubstitute& substitute, int height)
{
    const int wanted = height < 0 ? -height : height;
    if (substitute.RasterCells.empty())
        return wanted;
    int cell = substitute.RasterCells.front();
    for (int size : substitute.RasterCells) {
        if (size <= wanted)
            cell = size;
    }
    return cell;
}

TResolvedFont ResolveFont(const LOGFONT& description)
{
    const TFontSubstitute substitute = FontSubstitute(description.lfFaceName);
    TResolvedFont resolved;
    resolved.Raster = substitute.Raster;

    QFont font;
    font.setFamily(QString::fromStdString(substitute.Family));
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setKerning(false);
    const int weight = substitute.ForceBold ? FW_BOLD : (description.lfWeight == FW_DONTCARE ? FW_NORMAL : description.lfWeight);
    font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
    font.setItalic(description.lfItalic != 0);
    font.setUnderline(description.lfUnderline != 0);
    font.setStrikeOut(description.lfStrikeOut != 0);
    if ((description.lfPitchAndFamily & 0x03) == FIXED_PITCH)
        font.setFixedPitch(true);
    switch (description.lfPitchAndFamily & 0xF0) {
    case FF_ROMAN: font.setStyleHint(QFont::Serif, font.styleStrategy()); break;
    case FF_SWISS: font.setStyleHint(QFont::SansSerif, font.styleStrategy()); break;
    case FF_MODERN: font.setStyleHint(QFont::Monospace, font.styleStrategy()); break;
    default: break;
    }

    // Negative heights name the em, positive ones the cell; a bitmap face's
    // height names the cell whatever its sign.
    const int height = std::clamp(description.lfHeight, -MaxPixelHeight, MaxPixelHeight);
    int em = DefaultEmHeight;
    int cell = 0;
    if (substitute.Raster && height != 0) {
        cell = RasterCellFor(substitute, height);
        em = EmSizeForCell(font, cell);
    } else if (height < 0) {
        em = -height;
    } else if (height > 0) {
        em = EmSizeForCell(font, height);
    }
    font.setPixelSize(em);

    QFontMetrics metrics(font);
    if (description.lfWidth > 0 && metrics.averageCharWidth() > 0) {
        const int stretch = std::clamp(
            static_cast<int>(std::lround(100.0 * description.lfWidth / metrics.averageCharWidth())), 1, 4000);
        font.setStretch(stretch);
        metrics = QFontMetrics(font);
    }

    TEXTMETRIC& tm = resolved.Metrics;
    tm.tmAscent = metrics.ascent();
    tm.tmDescent = metrics.descent();
    if (substitute.Raster && cell > tm.tmAscent + tm.tmDescent)
        tm.tmAscent += cell - (tm.tmAscent + tm.tmDescent);  // the spare pixels lead, as internal leading does
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    tm.tmInternalLeading = std::max(0, tm.tmHeight - em);
    tm.tmExternalLeading = std::max(0, metrics.leading());
    tm.tmAveCharWidth = metrics.averageCharWidth();
    tm.tmMaxCharWidth = metrics.maxWidth();
    tm.tmWeight = weight;
    tm.tmItalic = description.lfItalic ? 1 : 0;
    tm.tmUnderlined = description.lfUnderline ? 1 : 0;
    tm.tmStruckOut = description.lfStrikeOut ? 1 : 0;
    tm.tmCharSet = description.lfCharSet;
    const QFontInfo info(font);
    BYTE pitchAndFamily = FamilyBits(description, info.family());
    if (!info.fixedPitch())
        pitchAndFamily |= TMPF_FIXED_PITCH;
    if (!substitute.Raster && QFontDatabase::isSmoothlyScalable(info.family(), info.styleName()))
        pitchAndFamily |= TMPF_VECTOR | TMPF_TRUETYPE;
    tm.tmPitchAndFamily = pitchAndFamily;

    resolved.Font = font;
    resolved.EscapementTenths = substitute.Raster ? 0 : description.lfEscapement % 3600;
    return resolved;
}

TFontObject::TFontObject(LOGFONT font, bool stock) : TGdiObject(TGdiObjectKind::Font, stock), font_(std::move(font))
{
}

void TFontObject::SetDescription(const LOGFONT& font)
{
    if (font == font_)
        return;
    font_ = font;
    resolved_.reset();
}

std::shared_ptr<const TResolvedFont> TFontObject::Resolved() const
{
    if (!resolved_)
        resolved_ = std::make_shared<const TResolvedFont>(ResolveFont(font_));
    return resolved_;
}

HFONT CreateFontIndirect(const LOGFONT& font)
{
    return new TFontObject(font);
}

bool GetObject(HFONT font, LOGFONT& description)
{
    if (font == nullptr)
        return false;
    description = font->Description();
    return true;
}

// ---- TFont -----------------------------------------------------------------

TFont::TFont() : pixelsPerInch_(DisplayPixelsPerInch())
{
}

TFont::~TFont() = default;

template <typename T>
void TFont::Update(T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    Changed();
}

void TFont::SetName(const TFontName& name) { Update(name_, name); }
void TFont::SetHeight(int height) { Update(height_, height); }
void TFont::SetStyle(TFontStyles style) { Update(style_, style); }
void TFont::SetColor(TColor color) { Update(color_, color); }
void TFont::SetOrientation(int tenths) { Update(orientation_, tenths); }
void TFont::SetPitch(TFontPitch pitch) { Update(pitch_, pitch); }
void TFont::SetCharset(TFontCharset charset) { Update(charset_, charset); }

int TFont::Size() const
{
    return -MulDiv(height_, 72, pixelsPerInch_);
}

void TFont::SetSize(int points)
{
    SetHeight(-MulDiv(points, pixelsPerInch_, 72));
}

void TFont::SetPixelsPerInch(int pixelsPerInch)
{
    if (pixelsPerInch > 0)
        pixelsPerInch_ = pixelsPerInch;
}

LOGFONT TFont::Description() const
{
    LOGFONT font;
    font.lfHeight = height_;
    font.lfEscapement = orientation_;
    font.lfOrientation = orientation_;
    font.lfWeight = style_.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = style_.Contains(fsItalic) ? 1 : 0;
    font.lfUnderline = style_.Contains(fsUnderline) ? 1 : 0;
    font.lfStrikeOut = style_.Contains(fsStrikeOut) ? 1 : 0;
    font.lfCharSet = charset_;
    font.lfPitchAndFamily = pitch_ == fpFixed ? FIXED_PITCH : pitch_ == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
    font.lfFaceName = name_;
    return font;
}

void TFont::SetDescription(const LOGFONT& font)
{
    TFontStyles style;
    if (font.lfWeight >= 600)
        style.Include(fsBold);
    if (font.lfItalic)
        style.Include(fsItalic);
    if (font.lfUnderline)
        style.Include(fsUnderline);
    if (font.lfStrikeOut)
        style.Include(fsStrikeOut);
    const TFontPitch pitch = (font.lfPitchAndFamily & 0x03) == FIXED_PITCH    ? fpFixed
                             : (font.lfPitchAndFamily & 0x03) == VARIABLE_PITCH ? fpVariable
                                                                               : fpDefault;
    const bool differs = name_ != font.lfFaceName || height_ != font.lfHeight || style_ != style ||
                         orientation_ != font.lfEscapement || pitch_ != pitch || charset_ != font.lfCharSet;
    if (!differs)
        return;
    name_ = font.lfFaceName;
    height_ = font.lfHeight;
    style_ = style;
    orientation_ = font.lfEscapement;
    pitch_ = pitch;
    charset_ = font.lfCharSet;
    Changed();
}

HFONT TFont::Handle() const
{
    if (!handle_)
        handle_ = std::make_unique<TFontObject>(Description());
    return handle_.get();
}

void TFont::SetHandle(HFONT font)
{
    if (font != nullptr)
        SetDescription(font->Description());
}

void TFont::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TFont*>(source);
    if (other == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    // A font designed at another resolution keeps its point size.
    const int height = other->pixelsPerInch_ == pixelsPerInch_ ? other->height_
                                                               : -MulDiv(other->Size(), pixelsPerInch_, 72);
    const bool differs = name_ != other->name_ || height_ != height || style_ != other->style_ ||
                         color_ != other->color_ || orientation_ != other->orientation_ ||
                         pitch_ != other->pitch_ || charset_ != other->charset_;
    if (!differs)
        return;
    name_ = other->name_;
    height_ = height;
    style_ = other->style_;
    color_ = other->color_;
    orientation_ = other->orientation_;
    pitch_ = other->pitch_;
    charset_ = other->charset_;
    Changed();
}

void TFont::Changed()
{
    // The object stays (a context or a caller may hold it); its description follows.
    if (handle_)
        handle_->SetDescription(Description());
    if (OnChange)
        OnChange(this);
}
