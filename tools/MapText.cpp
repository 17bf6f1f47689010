#include "tools/MapText.h"

#include "framework/runtime/ScopeExit.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace {

struct LibraryRelease {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceRelease {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using OwnedLibrary = std::unique_ptr<FT_LibraryRec_, LibraryRelease>;
using OwnedFace = std::unique_ptr<FT_FaceRec_, FaceRelease>;

struct FontFile {
    std::string Path;
    int Index = 0;
};

// The file fontconfig picks for the family at the weight: the family itself
// when it is installed, else its configured substitute.
FontFile MatchFont(FcConfig* config, std::string_view family, FontWeight weight)
{
    FcPattern* pattern = FcPatternCreate();
    TScopeExit releasePattern([pattern] { FcPatternDestroy(pattern); });
    const std::string name(family);
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, weight == FontWeight::fwBold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    if (match == nullptr)
        throw std::runtime_error("fontconfig finds no font for " + name + " (install fonts-dejavu-core)");
    TScopeExit releaseMatch([match] { FcPatternDestroy(match); });
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch || file == nullptr)
        throw std::runtime_error("fontconfig finds no font file for " + name + " (install fonts-dejavu-core)");
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    return {reinterpret_cast<const char*>(file), index};
}

OwnedFace OpenFace(FT_Library library, const FontFile& file)
{
    FT_Face face = nullptr;
    if (FT_New_Face(library, file.Path.c_str(), file.Index, &face) != 0)
        throw std::runtime_error("FreeType cannot open the font " + file.Path);
    return OwnedFace(face);
}

// Code points of UTF-8 text; an ill-formed sequence reads as U+FFFD.
std::vector<char32_t> CodePoints(std::string_view text)
{
    std::vector<char32_t> points;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<std::int32_t>(std::min<std::size_t>(text.size(), INT32_MAX));
    for (std::int32_t i = 0; i < length;) {
        UChar32 c = 0;
        U8_NEXT(bytes, i, length, c);
        points.push_back(c < 0 ? U'\uFFFD' : static_cast<char32_t>(c));
    }
    return points;
}

} // namespace

struct MapText::Faces {
    OwnedLibrary Library;  // declared first: released after the faces
    OwnedFace Regular;
    OwnedFace Bold;
    std::string RegularPath;

    FT_Face Sized(const TextStyle& style) const
    {
        FT_Face face = style.Weight == FontWeight::fwBold ? Bold.get() : Regular.get();
        FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(std::clamp(style.PixelSize, 4, 200)));
        return face;
    }

    // Walks the glyphs of the text: calls place(glyph index, pen x in 26.6
    // units) for each, the pen moved on by kerning and advance.
    template <typename Place>
    long Walk(FT_Face face, std::string_view text, Place&& place, FT_Int32 loadFlags) const
    {
        long pen = 0;  // 26.6 fixed point
        FT_UInt previous = 0;
        const bool kerning = FT_HAS_KERNING(face);
        for (const char32_t c : CodePoints(text)) {
            const FT_UInt glyph = FT_Get_Char_Index(face, c);
            if (kerning && previous != 0 && glyph != 0) {
                FT_Vector delta{};
                if (FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &delta) == 0)
                    pen += delta.x;
            }
            if (FT_Load_Glyph(face, glyph, loadFlags) == 0) {
                place(face->glyph, pen);
                pen += face->glyph->advance.x;
            }
            previous = glyph;
        }
        return pen;
    }
};

MapText::MapText(std::string_view family) : faces_(std::make_unique<Faces>())
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        throw std::runtime_error("FreeType cannot start");
    faces_->Library.reset(library);
    // A configuration of our own, released when the faces are open.
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config == nullptr)
        throw std::runtime_error("fontconfig cannot load its configuration");
    TScopeExit releaseConfig([config] { FcConfigDestroy(config); });
    const FontFile regular = MatchFont(config, family, FontWeight::fwRegular);
    faces_->Regular = OpenFace(library, regular);
    faces_->Bold = OpenFace(library, MatchFont(config, family, FontWeight::fwBold));
    faces_->RegularPath = regular.Path;
}

MapText::~MapText() = default;

const std::string& MapText::RegularFile() const { return faces_->RegularPath; }

int MapText::Width(std::string_view text, const TextStyle& style) const
{
    const long pen = faces_->Walk(faces_->Sized(style), text, [](FT_GlyphSlot, long) {}, FT_LOAD_DEFAULT);
    return static_cast<int>((pen + 63) / 64);
}

int MapText::Ascent(const TextStyle& style) const
{
    return static_cast<int>(faces_->Sized(style)->size->metrics.ascender / 64);
}

int MapText::Draw(RgbImage& image, int x, int baseline, std::string_view text, const TextStyle& style) const
{
    const auto blit = [&](FT_GlyphSlot slot, long pen) {
        const FT_Bitmap& bitmap = slot->bitmap;
        // Rendered glyphs are grey levels stored top row first (positive pitch).
        if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.num_grays < 2 || bitmap.pitch < 0)
            return;
        const int left = x + static_cast<int>(pen / 64) + slot->bitmap_left;
        const int top = baseline - slot->bitmap_top;
        const double levels = bitmap.num_grays - 1;
        for (unsigned row = 0; row < bitmap.rows; ++row)
            for (unsigned column = 0; column < bitmap.width; ++column) {
                const unsigned char level = bitmap.buffer[static_cast<long>(row) * bitmap.pitch + column];
                image.Blend(left + static_cast<int>(column), top + static_cast<int>(row), style.Colour,
                            level / levels);
            }
    };
    const long pen = faces_->Walk(faces_->Sized(style), text, blit, FT_LOAD_RENDER);
    return x + static_cast<int>((pen + 63) / 64);
}
