// Formatted text: lines, word break, tabs, '&' prefixes, ellipsis and
// alignment in a rectangle, in the selected font (never rotated here).
#include "framework/graphics/DcInternal.h"

#include <algorithm>
#include <vector>

namespace {

// A line of visible text with the index of its underlined character (-1: none).
struct TTextLine {
    QString Text;
    qsizetype Underline = -1;
};

// Removes '&' prefixes: "&x" underlines x, "&&" is a literal '&', a final
// lone '&' vanishes.
TTextLine StripPrefixes(const QString& text)
{
    TTextLine line;
    line.Text.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('&')) {
            line.Text += text[i];
            continue;
        }
        if (i + 1 >= text.size())
            break;
        ++i;
        if (text[i] != QLatin1Char('&'))
            line.Underline = line.Text.size();
        line.Text += text[i];
    }
    return line;
}

struct TLayout {
    const TTextFont* Font = nullptr;
    bool ExpandTabs = false;
    int TabWidth = 8;

    // Width of a line, tabs advancing to the next stop.
    int Width(const QString& text) const
    {
        if (!ExpandTabs || !text.contains(QLatin1Char('\t')))
            return TextRunWidth(*Font, text);
        int x = 0;
        qsizetype start = 0;
        for (;;) {
            const qsizetype tab = text.indexOf(QLatin1Char('\t'), start);
            x += TextRunWidth(*Font, text.mid(start, tab < 0 ? -1 : tab - start));
            if (tab < 0)
                return x;
            x = (x / TabWidth + 1) * TabWidth;
            start = tab + 1;
        }
    }
};

// Breaks a line into lines no wider than width, at spaces; a word wider than
// the whole width keeps a line of its own. The spaces at a break are dropped.
std::vector<TTextLine> WrapLine(const TTextLine& line, int width, const TLayout& layout)
{
    std::vector<TTextLine> lines;
    const QString& text = line.Text;
    qsizetype start = 0;
    while (start < text.size() || lines.empty()) {
        qsizetype end = text.size();
        if (layout.Width(text.mid(start)) > width) {
            // The longest run of whole words that fits.
            qsizetype fit = -1;
            for (qsizetype i = start; i < text.size(); ++i) {
                if (text[i] != QLatin1Char(' ') || i == start)
                    continue;
                if (layout.Width(text.mid(start, i - start)) > width)
                    break;
                fit = i;
            }
            if (fit < 0) {
                // No break that fits: the first word stands alone.
                fit = text.indexOf(QLatin1Char(' '), start);
                while (fit == start)
                    fit = text.indexOf(QLatin1Char(' '), fit + 1);
                if (fit < 0)
                    fit = text.size();
            }
            end = fit;
        }
        TTextLine piece;
        piece.Text = text.mid(start, end - start);
        if (line.Underline >= start && line.Underline < end)
            piece.Underline = line.Underline - start;
        lines.push_back(piece);
        start = end;
        while (start < text.size() && text[start] == QLatin1Char(' '))
            ++start;
        if (start >= text.size())
            break;
    }
    return lines;
}

// Cuts the end of a line so that it and "..." fit the width.
void AddEllipsis(TTextLine& line, int width, const TLayout& layout)
{
    if (layout.Width(line.Text) <= width)
        return;
    const QString dots = QStringLiteral("...");
    while (!line.Text.isEmpty() && layout.Width(line.Text + dots) > width)
        line.Text.chop(1);
    line.Text += dots;
    if (line.Underline >= line.Text.size() - dots.size())
        line.Underline = -1;
}

// Draws one line with its cell's top-left at device point origin.
void PaintLine(TDeviceContext& dc, QPoint origin, const TTextLine& line, const TLayout& layout, const QRegion& clip,
               bool showUnderline)
{
    const TTextFont& font = *layout.Font;
    const bool opaque = dc.State.BkMode == OPAQUE;
    if (!layout.ExpandTabs || !line.Text.contains(QLatin1Char('\t'))) {
        PaintTextRun(dc, origin, QPoint(), line.Text, font, clip, opaque);
    } else {
        int x = 0;
        qsizetype start = 0;
        for (;;) {
            const qsizetype tab = line.Text.indexOf(QLatin1Char('\t'), start);
            const QString piece = line.Text.mid(start, tab < 0 ? -1 : tab - start);
            PaintTextRun(dc, origin, QPoint(x, 0), piece, font, clip, opaque);
            x += TextRunWidth(font, piece);
            if (tab < 0)
                break;
            x = (x / layout.TabWidth + 1) * layout.TabWidth;
            start = tab + 1;
        }
    }
    if (!showUnderline || line.Underline < 0 || line.Underline >= line.Text.size())
        return;
    // The accelerator's underline: one pixel row under the baseline, as wide as the character.
    const int x = layout.Width(line.Text.left(line.Underline));
    const int w = TextRunWidth(font, line.Text.mid(line.Underline, 1)) - font.Extra;
    const int y = std::min(font.Metrics.tmAscent + 1, font.Metrics.tmHeight - 1);
    const QRect bar(origin.x() + x, origin.y() + y, std::max(w, 1), 1);
    const TPatternTile ink = SolidTile(dc.DevicePixel(dc.State.TextColor));
    for (const QRect& part : clip) {
        const QRect piece = part.intersected(bar);
        if (!piece.isEmpty())
            PatternSpan(dc, piece.top(), piece.left(), piece.left() + piece.width(), 0xF0, ink);
    }
    dc.Touched(bar);
}

}  // namespace

int DrawText(HDC dc, std::string_view text, TRect& rect, UINT format)
{
    if (dc == nullptr)
        return 0;
    if (text.empty()) {
        if (format & DT_CALCRECT) {
            rect.Right = rect.Left;
            rect.Bottom = rect.Top;
        }
        return 0;
    }
    TLayout layout;
    int tabChars = 8;
    if (format & DT_TABSTOP) {
        // Bits 8..15 hold the tab width instead of flags.
        tabChars = static_cast<int>((format >> 8) & 0xFF);
        format &= ~0xFF00u;
        if (tabChars == 0)
            tabChars = 8;
    }
    TTextFont font = CurrentTextFont(*dc);
    font.Escapement = 0;
    layout.Font = &font;
    layout.ExpandTabs = (format & DT_EXPANDTABS) != 0;
    layout.TabWidth = std::max(1, tabChars * font.Metrics.tmAveCharWidth);
    const int lineHeight = font.Metrics.tmHeight + ((format & DT_EXTERNALLEADING) ? font.Metrics.tmExternalLeading : 0);
    const bool singleLine = (format & DT_SINGLELINE) != 0;
    const bool prefixes = (format & DT_NOPREFIX) == 0;

    // Logical lines, then visible lines.
    const QString all = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    QStringList logical;
    if (singleLine) {
        logical << all;
    } else {
        QString normalised = all;
        normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
        logical = normalised.split(QLatin1Char('\n'));
    }
    std::vector<TTextLine> lines;
    for (const QString& part : logical) {
        TTextLine line = prefixes ? StripPrefixes(part) : TTextLine{part, -1};
        if ((format & DT_WORDBREAK) && !singleLine) {
            for (TTextLine& piece : WrapLine(line, rect.Width(), layout))
                lines.push_back(std::move(piece));
        } else {
            lines.push_back(std::move(line));
        }
    }
    if (format & DT_END_ELLIPSIS) {
        for (TTextLine& line : lines)
            AddEllipsis(line, rect.Width(), layout);
    }

    int widest = 0;
    for (const TTextLine& line : lines)
        widest = std::max(widest, layout.Width(line.Text));
    const int height = lineHeight * static_cast<int>(lines.size());
    if (format & DT_CALCRECT) {
        rect.Right = rect.Left + widest;
        rect.Bottom = rect.Top + height;
        return height;
    }

    int y = rect.Top;
    if (singleLine && (format & DT_VCENTER))
        y = (rect.Top + rect.Bottom - height) / 2;
    else if (singleLine && (format & DT_BOTTOM))
        y = rect.Bottom - height;

    QRegion clip = dc->DeviceClip();
    if (!(format & DT_NOCLIP))
        clip = clip.intersected(dc->ToDevice(rect).normalized());
    const bool showUnderline = prefixes && !(format & DT_HIDEPREFIX);
    int lineTop = y;
    for (const TTextLine& line : lines) {
        const int w = layout.Width(line.Text);
        int x = rect.Left;
        if (format & DT_CENTER)
            x = (rect.Left + rect.Right - w) / 2;  // a line wider than the rectangle loses both ends
        else if (format & DT_RIGHT)
            x = rect.Right - w;
        if (!line.Text.isEmpty())
            PaintLine(*dc, dc->ToDevice(x, lineTop), line, layout, clip, showUnderline);
        lineTop += lineHeight;
    }
    if (singleLine && (format & (DT_VCENTER | DT_BOTTOM)))
        return y + height - rect.Top;
    return height;
}
