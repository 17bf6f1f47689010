#include "framework/controls/FrameTracking.h"

#include <algorithm>

namespace {

struct TDraggedEdges {
    bool Left = false;
    bool Top = false;
    bool Right = false;
    bool Bottom = false;
};

TDraggedEdges EdgesOf(int hit)
{
    switch (hit) {
    case HTLEFT:
        return {true, false, false, false};
    case HTRIGHT:
        return {false, false, true, false};
    case HTTOP:
        return {false, true, false, false};
    case HTBOTTOM:
        return {false, false, false, true};
    case HTTOPLEFT:
        return {true, true, false, false};
    case HTTOPRIGHT:
        return {false, true, true, false};
    case HTBOTTOMLEFT:
        return {true, false, false, true};
    case HTBOTTOMRIGHT:
        return {false, false, true, true};
    default:
        return {};
    }
}

// One axis: the dragged edge moves so that the length stays within the
// limits; the edge that is not dragged never moves.
void LimitAxis(bool lowDragged, int& low, int& high, int minLength, int maxLength)
{
    const long long wanted = static_cast<long long>(high) - low;
    const int length = static_cast<int>(std::clamp<long long>(wanted, minLength, std::max(minLength, maxLength)));
    if (lowDragged)
        low = high - length;
    else
        high = low + length;
}

} // namespace

bool IsSizingHit(int hit)
{
    return hit >= HTLEFT && hit <= HTBOTTOMRIGHT;
}

int SizingEdge(int hit)
{
    return IsSizingHit(hit) ? hit - HTLEFT + WMSZ_LEFT : 0;
}

TRect LimitTrackedRect(int hit, const TRect& r, TPoint minTrack, TPoint maxTrack)
{
    const TDraggedEdges edges = EdgesOf(hit);
    TRect limited = r;
    if (edges.Left || edges.Right)
        LimitAxis(edges.Left, limited.Left, limited.Right, minTrack.X, maxTrack.X);
    if (edges.Top || edges.Bottom)
        LimitAxis(edges.Top, limited.Top, limited.Bottom, minTrack.Y, maxTrack.Y);
    return limited;
}

TRect TrackedRect(int hit, const TRect& start, TPoint delta, TPoint minTrack, TPoint maxTrack)
{
    const TDraggedEdges edges = EdgesOf(hit);
    TRect r = start;
    if (edges.Left)
        r.Left += delta.X;
    if (edges.Right)
        r.Right += delta.X;
    if (edges.Top)
        r.Top += delta.Y;
    if (edges.Bottom)
        r.Bottom += delta.Y;
    return LimitTrackedRect(hit, r, minTrack, maxTrack);
}

UINT ChangeFlags(const TRect& from, const TRect& to)
{
    UINT flags = 0;
    if (from.TopLeft() == to.TopLeft())
        flags |= SWP_NOMOVE;
    if (from.Width() == to.Width() && from.Height() == to.Height())
        flags |= SWP_NOSIZE;
    return flags;
}

TRect AgreedRect(const TWindowPos& position, const TRect& current)
{
    const TPoint place = (position.flags & SWP_NOMOVE) != 0 ? current.TopLeft() : TPoint{position.x, position.y};
    const int width = (position.flags & SWP_NOSIZE) != 0 ? current.Width() : std::max(position.cx, 0);
    const int height = (position.flags & SWP_NOSIZE) != 0 ? current.Height() : std::max(position.cy, 0);
    return Bounds(place.X, place.Y, width, height);
}
