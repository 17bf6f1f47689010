// Text output and measurement in the selected font. Glyphs are drawn by Qt
// without antialiasing, so every letter pixel has exactly the text colour.
#include "framework/graphics/DcInternal.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTransform>

#include <cmath>

TTextFont CurrentTextFont(TDeviceContext& dc)
{
    TTextFont font;
    const TResolvedFont& resolved = dc.Font();
    font.Font = resolved.Font;
    font.Metrics = resolved.Metrics;
    font.Escapement = resolved.EscapementTenths;
    font.Extra = dc.State.CharExtra;
    if (font.Extra != 0)
        font.Font.setLetterSpacing(QFont::AbsoluteSpacing, font.Extra);
    return font;
}

int TextRunWidth(const TTextFont& font, const QString& text)
{
    return QFontMetrics(font.Font).horizontalAdvance(text);
}

void PaintTextRun(TDeviceContext& dc, QPoint anchor, QPoint offset, const QString& text, const TTextFont& font,
                  const QRegion& clip, bool fillCell, const int* dx)
{
    if (clip.isEmpty())
        return;
    int width = 0;
    if (dx != nullptr) {
        for (qsizetype i = 0; i < text.size(); ++i)
            width += dx[i];
    } else {
        width = TextRunWidth(font, text);
    }
    const QRect cell(offset.x(), offset.y(), width, font.Metrics.tmHeight);
    QTransform transform;
    transform.translate(anchor.x(), anchor.y());
    if (font.Escapement != 0)
        transform.rotate(-font.Escapement / 10.0);  // counter-clockwise on a y-down surface

    QPainter painter(&dc.Image());
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setClipRegion(clip);
    painter.setTransform(transform);
    if (fillCell && width > 0)
        painter.fillRect(cell, QColor::fromRgb(dc.DevicePixel(dc.State.BkColor)));
    painter.setFont(font.Font);
    painter.setPen(QColor::fromRgb(dc.DevicePixel(dc.State.TextColor)));
    const int baseline = offset.y() + font.Metrics.tmAscent;
    if (dx == nullptr) {
        painter.drawText(QPoint(offset.x(), baseline), text);
    } else {
        int x = offset.x();
        for (qsizetype i = 0; i < text.size(); ++i) {
            painter.drawText(QPoint(x, baseline), QString(text[i]));
            x += dx[i];
        }
    }
    painter.end();
    dc.Touched(transform.mapRect(cell.adjusted(-1, -1, 1, 1)));
}

BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const TRect* rect, std::string_view text, const int* dx)
{
    if (dc == nullptr)
        return false;
    const UINT align = dc->State.TextAlign;
    if (align & TA_UPDATECP) {
        x = dc->State.CurrentPosition.X;
        y = dc->State.CurrentPosition.Y;
    }
    const TTextFont font = CurrentTextFont(*dc);
    const QString run = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    int width = 0;
    if (dx != nullptr) {
        for (qsizetype i = 0; i < run.size(); ++i)
            width += dx[i];
    } else {
        width = TextRunWidth(font, run);
    }

    QRegion clip = dc->DeviceClip();
    if (rect != nullptr) {
        const QRect r = dc->ToDevice(*rect).normalized();
        if (options & ETO_OPAQUE)
            PatternFill(*dc, r, 0xF0, SolidTile(dc->DevicePixel(dc->State.BkColor)));
        if (options & ETO_CLIPPED)
            clip = clip.intersected(r);
    }

    // The reference point of the alignment, in the run's own frame.
    QPoint offset;
    if ((align & TA_CENTER) == TA_CENTER)
        offset.setX(-width / 2);
    else if (align & TA_RIGHT)
        offset.setX(-width);
    if ((align & TA_BASELINE) == TA_BASELINE)
        offset.setY(-font.Metrics.tmAscent);
    else if (align & TA_BOTTOM)
        offset.setY(-font.Metrics.tmHeight);

    if (!run.isEmpty())
        PaintTextRun(*dc, dc->ToDevice(x, y), offset, run, font, clip, dc->State.BkMode == OPAQUE, dx);

    if (align & TA_UPDATECP) {
        const double radians = font.Escapement / 10.0 * 3.14159265358979323846 / 180.0;
        dc->State.CurrentPosition.X = x + static_cast<int>(std::lround(width * std::cos(radians)));
        dc->State.CurrentPosition.Y = y - static_cast<int>(std::lround(width * std::sin(radians)));
    }
    return true;
}

BOOL TextOut(HDC dc, int x, int y, std::string_view text)
{
    return ExtTextOut(dc, x, y, 0, nullptr, text);
}

BOOL GetTextExtentPoint32(HDC dc, std::string_view text, TSize* size)
{
    if (dc == nullptr || size == nullptr)
        return false;
    const TTextFont font = CurrentTextFont(*dc);
    size->cx = TextRunWidth(font, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    size->cy = font.Metrics.tmHeight;
    return true;
}

BOOL GetTextMetrics(HDC dc, TEXTMETRIC* metrics)
{
    if (dc == nullptr || metrics == nullptr)
        return false;
    *metrics = dc->Font().Metrics;
    return true;
}

LOGFONT GetDCFont(HDC dc)
{
    return dc != nullptr ? dc->State.Font : LOGFONT{};
}
