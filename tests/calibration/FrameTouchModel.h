#pragma once

// A touch frame over a display as physics sees it, for closing the calibration loop without a
// window or a device.
//
// The bezel senses a finger in raw units along its own axes. Its mounting on the display is never
// perfect: each own axis has its own units per pixel, and the display centre falls at some raw
// reading. The frame calibrates a raw reading in its own axes with the record it was last sent,
// which gives a position in display pixels still in its own axes, and then applies its orientation
// settings: it mirrors its own x when reversed and then turns the result clockwise (x right, y down)
// by `rotation` quarter turns. The window system puts the pointer on the nearest pixel of the display.
//
// The frame is mounted the way its settings say: its own axes lie on the display as the settings
// turn them, so an ideal record reports every finger where it rests. Its calibration points are the
// target screens' targets. Record values travel as 16-bit numbers, so the frame sees them modulo
// 65536.

#include "calibration/NinePointTargets.h"
#include "calibration/ScreenGeometry.h"
#include "calibration/TwoPointTargets.h"
#include "protocol/CalibrationRecords.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace zorvane::testing {

struct Vec {
    double x = 0;
    double y = 0;
};

inline Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
inline Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
inline Vec operator*(double k, Vec a) { return {k * a.x, k * a.y}; }

inline Vec ToVec(ScreenPoint p)
{
    return {static_cast<double>(p.x), static_cast<double>(p.y)};
}

// How the bezel sits on the display: raw units per display pixel along its own x and y, and the raw
// reading at the display centre.
struct FrameMounting {
    Vec unitsPerPixel;
    Vec rawAtCentre;
};

// The frame's orientation settings.
struct FrameSettings {
    int rotation = 0;
    bool reversed = false;
};

class FrameTouchModel {
public:
    FrameTouchModel(ScreenSize screen, FrameSettings settings, FrameMounting mounting)
        : screen_(screen), settings_(settings), mounting_(mounting), centre_{screen.width / 2.0, screen.height / 2.0}
    {
    }

    // Where the pointer lands for a finger resting at `finger` while the frame holds the record.
    ScreenPoint Report(Vec finger, const TwoPointCalibration& record) const
    {
        return ToPointer(CalibrateTwoPoint(Raw(finger), record));
    }
    ScreenPoint Report(Vec finger, const NinePointCalibration& record) const
    {
        return ToPointer(CalibrateNinePoint(Raw(finger), record));
    }

    // The records a frame mounted as `nominal` reports exactly with: what it holds before calibration.
    TwoPointCalibration TwoPointRecordFor(const FrameMounting& nominal) const
    {
        const auto [low, high] = TwoPointCalibrationPoints();
        const Vec rawLow = RawOf(low, nominal);
        const Vec rawHigh = RawOf(high, nominal);
        TwoPointCalibration record;
        record.left = Round(rawLow.x);
        record.top = Round(rawLow.y);
        record.right = Round(rawHigh.x);
        record.bottom = Round(rawHigh.y);
        return record;
    }
    NinePointCalibration NinePointRecordFor(const FrameMounting& nominal) const
    {
        NinePointCalibration record;
        for (std::size_t point = 0; point < 9; ++point) {
            const Vec raw = RawOf(NinePointNode(point), nominal);
            record.values[2 * point] = Round(raw.x);
            record.values[2 * point + 1] = Round(raw.y);
        }
        return record;
    }

private:
    // The frame's own axes seen on the display, and back.
    Vec OwnToScreen(Vec own) const
    {
        Vec v = settings_.reversed ? Vec{-own.x, own.y} : own;
        for (int turn = 0; turn < settings_.rotation; ++turn)
            v = {-v.y, v.x};
        return v;
    }
    Vec ScreenToOwn(Vec screen) const
    {
        Vec v = screen;
        for (int turn = 0; turn < settings_.rotation; ++turn)
            v = {v.y, -v.x};
        return settings_.reversed ? Vec{-v.x, v.y} : v;
    }

    // A display position in the frame's own axes, relative to the display centre, in pixels.
    Vec OwnPosition(Vec onScreen) const { return ScreenToOwn(onScreen - centre_); }

    static Vec RawOf(Vec own, const FrameMounting& mounting)
    {
        return {mounting.rawAtCentre.x + mounting.unitsPerPixel.x * own.x,
                mounting.rawAtCentre.y + mounting.unitsPerPixel.y * own.y};
    }
    Vec Raw(Vec finger) const { return RawOf(OwnPosition(finger), mounting_); }

    ScreenPoint ToPointer(Vec own) const
    {
        const Vec onScreen = centre_ + OwnToScreen(own);
        return {std::clamp(Round(onScreen.x), 0, screen_.width - 1),
                std::clamp(Round(onScreen.y), 0, screen_.height - 1)};
    }

    static int Round(double value) { return static_cast<int>(std::floor(value + 0.5)); }
    static double FromRecord(std::int32_t value) { return static_cast<std::uint16_t>(value); }

    // Two-point: the calibration points are the screen's two targets; in the frame's own axes they
    // are opposite corners, and `left` is the raw x of whichever has the smaller own x, and so on.
    std::array<Vec, 2> TwoPointCalibrationPoints() const
    {
        const Vec a = OwnPosition(TwoPointTarget::TopLeft);
        const Vec b = OwnPosition(TwoPointTarget::BottomRight);
        return {{{std::min(a.x, b.x), std::min(a.y, b.y)}, {std::max(a.x, b.x), std::max(a.y, b.y)}}};
    }
    Vec CalibrateTwoPoint(Vec raw, const TwoPointCalibration& record) const
    {
        const auto [low, high] = TwoPointCalibrationPoints();
        return {Interpolate(raw.x, FromRecord(record.left), FromRecord(record.right), low.x, high.x),
                Interpolate(raw.y, FromRecord(record.top), FromRecord(record.bottom), low.y, high.y)};
    }
    static double Interpolate(double raw, double rawLow, double rawHigh, double low, double high)
    {
        if (rawHigh == rawLow)
            return low;
        return low + (raw - rawLow) * (high - low) / (rawHigh - rawLow);
    }

    // Nine-point: each record point, named by its place in the frame's own axes, sits on the screen
    // target found in that direction from the centre. Between the points the frame interpolates on
    // a triangulated 3 x 3 grid.
    static Vec OwnDirectionOfPoint(std::size_t point)
    {
        // topLeft, topRight, bottomRight, bottomLeft, centre, middleLeft, topMiddle, middleRight, bottomMiddle
        constexpr std::array<Vec, 9> kDirections = {{
            {-1, -1}, {1, -1}, {1, 1}, {-1, 1}, {0, 0}, {-1, 0}, {0, -1}, {1, 0}, {0, 1},
        }};
        return kDirections[point];
    }
    Vec NinePointNode(std::size_t point) const
    {
        const NinePointLayout layout(screen_);
        const Vec direction = OwnDirectionOfPoint(point);
        for (int target = 0; target < NinePointLayout::kTargetCount; ++target) {
            const ScreenVector d = NinePointLayout::Direction(target);
            const Vec own = ScreenToOwn({static_cast<double>(d.x), static_cast<double>(d.y)});
            if (own.x == direction.x && own.y == direction.y)
                return OwnPosition(ToVec(layout.Centre(target)));
        }
        return {};
    }
    std::size_t PointAtGrid(int column, int row) const
    {
        for (std::size_t point = 0; point < 9; ++point) {
            const Vec d = OwnDirectionOfPoint(point);
            if (d.x == column - 1 && d.y == row - 1)
                return point;
        }
        return 0;
    }
    Vec CalibrateNinePoint(Vec raw, const NinePointCalibration& record) const
    {
        auto rawOf = [&](std::size_t point) {
            return Vec{FromRecord(record.values[2 * point]), FromRecord(record.values[2 * point + 1])};
        };
        // The triangle that holds the raw reading, or the one it lies least outside of.
        double bestInside = -std::numeric_limits<double>::infinity();
        Vec best;
        for (int row = 0; row < 2; ++row) {
            for (int column = 0; column < 2; ++column) {
                const std::size_t p00 = PointAtGrid(column, row), p10 = PointAtGrid(column + 1, row);
                const std::size_t p01 = PointAtGrid(column, row + 1), p11 = PointAtGrid(column + 1, row + 1);
                for (const auto& triangle : {std::array{p00, p10, p11}, std::array{p00, p11, p01}}) {
                    double weights[3];
                    if (!Barycentric(raw, rawOf(triangle[0]), rawOf(triangle[1]), rawOf(triangle[2]), weights))
                        continue;
                    const double inside = std::min({weights[0], weights[1], weights[2]});
                    if (inside > bestInside) {
                        bestInside = inside;
                        best = weights[0] * NinePointNode(triangle[0]) + weights[1] * NinePointNode(triangle[1]) +
                               weights[2] * NinePointNode(triangle[2]);
                    }
                }
            }
        }
        return best;
    }
    static bool Barycentric(Vec q, Vec a, Vec b, Vec c, double (&weights)[3])
    {
        const Vec ab = b - a, ac = c - a, aq = q - a;
        const double area = ab.x * ac.y - ac.x * ab.y;
        if (area == 0)
            return false;
        weights[1] = (aq.x * ac.y - ac.x * aq.y) / area;
        weights[2] = (ab.x * aq.y - aq.x * ab.y) / area;
        weights[0] = 1 - weights[1] - weights[2];
        return true;
    }

    Vec OwnPosition(TwoPointTarget target) const { return OwnPosition(ToVec(TargetCentre(target, screen_))); }

    ScreenSize screen_;
    FrameSettings settings_;
    FrameMounting mounting_;
    Vec centre_;
};

}  // namespace zorvane::testing
