// Fonts by pixel height with escapement, their substitution by installed
// families, their metrics, and the persistent TFont.
#pragma once

#include "framework/runtime/Classes.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/GdiObjects.h"

#include <QFont>

#include <memory>
#include <span>
#include <string>

// The screen's logical pixels per inch (Qt's primary screen; 96 without a
// screen). Fonts convert points with it; tests may pin it (0 unpins).
int DisplayPixelsPerInch();
void SetDisplayPixelsPerInchOverride(int pixelsPerInch);

// Weights, character sets and pitch/family bytes of a font description.
enum : int { FW_DONTCARE = 0, FW_NORMAL = 400, FW_BOLD = 700 };
enum : BYTE { ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SYMBOL_CHARSET = 2, OEM_CHARSET = 255 };
enum : BYTE { DEFAULT_PITCH = 0, FIXED_PITCH = 1, VARIABLE_PITCH = 2 };
enum : BYTE { FF_DONTCARE = 0x00, FF_ROMAN = 0x10, FF_SWISS = 0x20, FF_MODERN = 0x30, FF_SCRIPT = 0x40, FF_DECORATIVE = 0x50 };
// tmPitchAndFamily bits. TMPF_FIXED_PITCH set means a VARIABLE pitch font, as
// the window system has always had it.
enum : BYTE { TMPF_FIXED_PITCH = 0x01, TMPF_VECTOR = 0x02, TMPF_TRUETYPE = 0x04, TMPF_DEVICE = 0x08 };

// A font description. Height: negative = character (em) height in pixels,
// positive = cell height, 0 = the default size. Escapement in tenths of a
// degree, counter-clockwise.
struct LOGFONT {
    int lfHeight = 0;
    int lfWidth = 0;
    int lfEscapement = 0;
    int lfOrientation = 0;
    int lfWeight = FW_NORMAL;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = DEFAULT_CHARSET;
    BYTE lfPitchAndFamily = DEFAULT_PITCH;
    std::string lfFaceName;
    friend bool operator==(const LOGFONT&, const LOGFONT&) = default;
};

struct TEXTMETRIC {
    int tmHeight = 0;
    int tmAscent = 0;
    int tmDescent = 0;
    int tmInternalLeading = 0;
    int tmExternalLeading = 0;
    int tmAveCharWidth = 0;
    int tmMaxCharWidth = 0;
    int tmWeight = 0;
    int tmOverhang = 0;
    BYTE tmItalic = 0;
    BYTE tmUnderlined = 0;
    BYTE tmStruckOut = 0;
    BYTE tmPitchAndFamily = 0;
    BYTE tmCharSet = 0;
};

// Where a face name lands on this machine.
struct TFontSubstitute {
    std::string Family;  // the installed family Qt is asked for
    bool ForceBold = false;
    // A stand-in for a bitmap (raster) face: it comes in a few cell heights
    // only (RasterCells, ascending), of which a height — whatever its sign —
    // gets the largest not above it, or the smallest when all are; it cannot
    // be rotated, and it is not TrueType.
    bool Raster = false;
    std::span<const int> RasterCells;
};
// The cell height a bitmap face's stand-in realises for a requested height.
int RasterCellFor(const TFontSubstitute& substitute, int height);
// The substitution table; a name it does not know goes to fontconfig as it is.
TFontSubstitute FontSubstitute(const std::string& faceName);

// A description resolved to a Qt font (no antialiasing, full hinting, no
// kerning) and the metrics the window system would report for it.
struct TResolvedFont {
    QFont Font;
    TEXTMETRIC Metrics;
    bool Raster = false;
    int EscapementTenths = 0;  // 0 for raster stand-ins, which do not rotate
};
TResolvedFont ResolveFont(const LOGFONT& font);

class TFontObject : public TGdiObject {
public:
    explicit TFontObject(LOGFONT font, bool stock = false);
    const LOGFONT& Description() const { return font_; }
    // Changes the description in place (contexts that selected it keep their copy).
    void SetDescription(const LOGFONT& font);
    // Resolved on first use and kept: device contexts share it.
    std::shared_ptr<const TResolvedFont> Resolved() const;
    // The resolution when one was made already, else null.
    std::shared_ptr<const TResolvedFont> ResolvedIfReady() const { return resolved_; }

private:
    LOGFONT font_;
    mutable std::shared_ptr<const TResolvedFont> resolved_;
};
using HFONT = TFontObject*;

HFONT CreateFontIndirect(const LOGFONT& font);
// Copies a font's description; false for a null handle.
bool GetObject(HFONT font, LOGFONT& description);

// ---- TFont -----------------------------------------------------------------

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = Set<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = BYTE;
using TFontName = std::string;

// The font a canvas writes with. Defaults: "MS Sans Serif", height -11,
// colour clWindowText. Each setter raises OnChange once, and only on a real change.
class TFont : public TPersistent {
public:
    TFont();
    ~TFont() override;

    const TFontName& Name() const { return name_; }
    void SetName(const TFontName& name);
    int Height() const { return height_; }
    void SetHeight(int height);
    // Points, through PixelsPerInch: Size = -Height * 72 / PixelsPerInch.
    int Size() const;
    void SetSize(int points);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    // Escapement in tenths of a degree, counter-clockwise.
    int Orientation() const { return orientation_; }
    void SetOrientation(int tenths);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch pitch);
    TFontCharset Charset() const { return charset_; }
    void SetCharset(TFontCharset charset);
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int pixelsPerInch);  // keeps Height, so Size may change

    // The description of the font (colour is not part of it).
    LOGFONT Description() const;
    // Takes every attribute of a description (the caller keeps its handle).
    void SetDescription(const LOGFONT& font);

    // The font object of this description, owned by the TFont: one object for
    // the TFont's whole life, its description following every change.
    HFONT Handle() const;
    // Takes a font object's description; the caller still owns and deletes it.
    void SetHandle(HFONT font);

    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

protected:
    virtual void Changed();

private:
    template <typename T>
    void Update(T& field, const T& value);

    TFontName name_ = "MS Sans Serif";
    int height_ = -11;
    TFontStyles style_;
    TColor color_ = clWindowText;
    int orientation_ = 0;
    TFontPitch pitch_ = fpDefault;
    TFontCharset charset_ = DEFAULT_CHARSET;
    int pixelsPerInch_;
    mutable std::unique_ptr<TFontObject> handle_;
};
