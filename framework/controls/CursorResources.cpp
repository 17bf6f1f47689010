#include "framework/controls/CursorResources.h"

#include <QBitmap>
#include <QImage>

namespace {

// 16548: a pointing hand, index finger up. The finger's tip is the top-left
// corner, so the hot spot (0, 0) sits on it.
constexpr TCursorResource HandPointCursor = {
    16548,
    {0, 0},
    {
        " ###",
        "#...#",
        "#...#",
        "#...#",
        "#...#",
        "#...#",
        "#...####",            // middle finger's knuckle
        "#...#...####",        // ring finger's knuckle
        "#...#...#...####",    // little finger's knuckle
        "#...#...#...#...#",
        "#...#...#...#...#",
        "#...............#",   // palm
        "#...............#",
        "#...............#",
        " #.............#",
        " #.............#",
        "  #...........#",     // wrist
        "  #...........#",
        "  #############",     // cuff
        "  #...........#",
        "  #...........#",
        "  #############",
    },
};

constexpr const TCursorResource* CursorTable[] = {&HandPointCursor};

// Pixel value 1 is black in a bitmap.
QBitmap RowsToBitmap(const TCursorResource& resource, bool (*isSet)(char))
{
    QImage image(CursorResourceSize, CursorResourceSize, QImage::Format_MonoLSB);
    image.setColor(0, qRgb(255, 255, 255));
    image.setColor(1, qRgb(0, 0, 0));
    image.fill(0);
    for (int y = 0; y < CursorResourceSize; ++y) {
        const std::string_view row = resource.Rows[static_cast<std::size_t>(y)];
        for (int x = 0; x < CursorResourceSize && static_cast<std::size_t>(x) < row.size(); ++x)
            if (isSet(row[static_cast<std::size_t>(x)]))
                image.setPixel(x, y, 1);
    }
    return QBitmap::fromImage(image);
}

} // namespace

const TCursorResource* FindCursorResource(int id)
{
    for (const TCursorResource* resource : CursorTable)
        if (resource->Id == id)
            return resource;
    return nullptr;
}

std::optional<QCursor> LoadCursor(int id)
{
    const TCursorResource* resource = FindCursorResource(id);
    if (resource == nullptr)
        return std::nullopt;
    // A monochrome cursor is a picture and a mask: black where both are set,
    // white where only the mask is, transparent where neither is.
    const QBitmap picture = RowsToBitmap(*resource, [](char c) { return c == '#'; });
    const QBitmap mask = RowsToBitmap(*resource, [](char c) { return c == '#' || c == '.'; });
    return QCursor(picture, mask, resource->HotSpot.X, resource->HotSpot.Y);
}
