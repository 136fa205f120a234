#pragma once

// Probes of rendered pictures for the window tests.

#include <QColor>
#include <QImage>
#include <QRect>

#include <cstdlib>

namespace zorvane::testing {

// Whether anything dark (text, lines) is drawn in `area`.
inline bool HasInk(const QImage& picture, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(picture.pixel(x, y)) < 100)
                return true;
        }
    }
    return false;
}

// Pixels of exactly `colour` in `area`.
inline int CountOf(const QImage& picture, const QRect& area, QRgb colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += picture.pixel(x, y) == colour;
    return count;
}

inline bool AllOf(const QImage& picture, const QRect& area, const QColor& colour)
{
    return CountOf(picture, area, colour.rgb()) == area.width() * area.height();
}

// Pixels of text in `colour`: glyphs are smoothed, so their edges blend into the background.
inline int TextPixels(const QImage& picture, const QRect& area, QRgb colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            const int distance = std::abs(qRed(pixel) - qRed(colour)) + std::abs(qGreen(pixel) - qGreen(colour)) +
                                 std::abs(qBlue(pixel) - qBlue(colour));
            count += distance < 90;
        }
    }
    return count;
}

}  // namespace zorvane::testing
