#pragma once

namespace zorvane {

// Pixel coordinates on the primary display: x to the right, y downwards. The target screens cover
// the whole display, so their window coordinates are screen coordinates.
struct ScreenPoint {
    int x = 0;
    int y = 0;

    bool operator==(const ScreenPoint&) const = default;
};

// The difference of two screen points, such as a pointer's error from a target centre.
struct ScreenVector {
    int x = 0;
    int y = 0;

    bool operator==(const ScreenVector&) const = default;
};

inline ScreenVector operator-(ScreenPoint a, ScreenPoint b)
{
    return {a.x - b.x, a.y - b.y};
}

struct ScreenSize {
    int width = 0;
    int height = 0;
};

// A rectangle given by two corners, both inside it.
struct ScreenRect {
    ScreenPoint topLeft;
    ScreenPoint bottomRight;

    bool Contains(ScreenPoint p) const
    {
        return topLeft.x <= p.x && p.x <= bottomRight.x && topLeft.y <= p.y && p.y <= bottomRight.y;
    }
    bool operator==(const ScreenRect&) const = default;
};

struct ScreenLine {
    ScreenPoint from;
    ScreenPoint to;

    bool operator==(const ScreenLine&) const = default;
};

// The two strokes of a target cross: horizontal first.
struct TargetCross {
    ScreenLine horizontal;
    ScreenLine vertical;

    bool operator==(const TargetCross&) const = default;
};

}  // namespace zorvane
