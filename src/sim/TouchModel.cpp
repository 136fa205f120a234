#include "sim/TouchModel.h"

#include "calibration/NinePointTargets.h"
#include "calibration/TwoPointTargets.h"
#include "protocol/CommandTable.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace zorvane {
namespace {

struct Vec {
    double x = 0;
    double y = 0;
};

Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
Vec operator*(double k, Vec a) { return {k * a.x, k * a.y}; }

Vec ToVec(ScreenPoint p) { return {static_cast<double>(p.x), static_cast<double>(p.y)}; }
Vec ToVec(ScreenVector v) { return {static_cast<double>(v.x), static_cast<double>(v.y)}; }

int Round(double value) { return static_cast<int>(std::floor(value + 0.5)); }

// How a bezel's own axes lie on the display: its own x mirrored when reversed, then the whole turned
// clockwise (x right, y down) by `rotation` quarter turns.
struct AxesOnDisplay {
    int rotation = 0;
    bool reversed = false;
};

Vec OwnToScreen(AxesOnDisplay axes, Vec own)
{
    Vec v = axes.reversed ? Vec{-own.x, own.y} : own;
    for (int turn = 0; turn < axes.rotation % 4; ++turn)
        v = {-v.y, v.x};
    return v;
}

Vec ScreenToOwn(AxesOnDisplay axes, Vec onScreen)
{
    Vec v = onScreen;
    for (int turn = 0; turn < axes.rotation % 4; ++turn)
        v = {v.y, -v.x};
    return axes.reversed ? Vec{-v.x, v.y} : v;
}

AxesOnDisplay AxesOf(const FrameState::Mounting& mounting) { return {mounting.rotation, mounting.reversed}; }
AxesOnDisplay AxesOf(const FrameState::Settings& settings) { return {settings.rotation, settings.reversed == 1}; }

Vec DisplayCentre(ScreenSize display) { return {display.width / 2.0, display.height / 2.0}; }

// The raw reading of a position given in the bezel's own axes, relative to the display centre.
Vec RawAt(const FrameState::Mounting& mounting, Vec own)
{
    return {mounting.xRawAtCentre + mounting.xUnitsPerPixel * own.x,
            mounting.yRawAtCentre + mounting.yUnitsPerPixel * own.y};
}

// Nine-point record points in the frame's own axes, in record order: topLeft, topRight, bottomRight,
// bottomLeft, centre, middleLeft, topMiddle, middleRight, bottomMiddle.
constexpr std::size_t kNinePoints = 9;
constexpr std::array<Vec, kNinePoints> kOwnDirectionOfPoint = {{
    {-1, -1}, {1, -1}, {1, 1}, {-1, 1}, {0, 0}, {-1, 0}, {0, -1}, {1, 0}, {0, 1},
}};

std::size_t PointAtGrid(int column, int row)
{
    for (std::size_t point = 0; point < kNinePoints; ++point) {
        if (kOwnDirectionOfPoint[point].x == column - 1 && kOwnDirectionOfPoint[point].y == row - 1)
            return point;
    }
    return 0;
}

// The barycentric weights of q in the triangle a, b, c; none for a degenerate triangle.
std::optional<std::array<double, 3>> Barycentric(Vec q, Vec a, Vec b, Vec c)
{
    const Vec ab = b - a, ac = c - a, aq = q - a;
    const double area = ab.x * ac.y - ac.x * ab.y;
    if (area == 0)
        return std::nullopt;
    const double wb = (aq.x * ac.y - ac.x * aq.y) / area;
    const double wc = (ab.x * aq.y - aq.x * ab.y) / area;
    return std::array{1 - wb - wc, wb, wc};
}

double Interpolate(double raw, double rawLow, double rawHigh, double low, double high)
{
    if (rawHigh == rawLow)
        return low;
    return low + (raw - rawLow) * (high - low) / (rawHigh - rawLow);
}

// What the firmware knows: the display it reports in and how its settings say its axes lie there.
// Own-axis positions are relative to the display centre, in pixels.
class Firmware {
public:
    Firmware(ScreenSize display, AxesOnDisplay axes) : display_(display), axes_(axes), centre_(DisplayCentre(display)) {}

    Vec OwnPosition(ScreenPoint onScreen) const { return ScreenToOwn(axes_, ToVec(onScreen) - centre_); }

    ScreenPoint ToPointer(Vec own) const
    {
        const Vec onScreen = centre_ + OwnToScreen(axes_, own);
        return {std::clamp(Round(onScreen.x), 0, display_.width - 1), std::clamp(Round(onScreen.y), 0, display_.height - 1)};
    }

    // The two targets are opposite corners in the frame's own axes too: the one with the lower own
    // coordinates first.
    std::array<Vec, 2> TwoPointCalibrationPoints() const
    {
        const Vec a = OwnPosition(TargetCentre(TwoPointTarget::TopLeft, display_));
        const Vec b = OwnPosition(TargetCentre(TwoPointTarget::BottomRight, display_));
        return {{{std::min(a.x, b.x), std::min(a.y, b.y)}, {std::max(a.x, b.x), std::max(a.y, b.y)}}};
    }

    // Where each nine-point record point sits: on the target found in its own direction.
    std::array<Vec, kNinePoints> NinePointNodes() const
    {
        const NinePointLayout layout(display_);
        std::array<Vec, kNinePoints> nodes{};
        for (int target = 0; target < NinePointLayout::kTargetCount; ++target) {
            const Vec own = ScreenToOwn(axes_, ToVec(NinePointLayout::Direction(target)));
            for (std::size_t point = 0; point < kNinePoints; ++point) {
                if (own.x == kOwnDirectionOfPoint[point].x && own.y == kOwnDirectionOfPoint[point].y)
                    nodes[point] = OwnPosition(layout.Centre(target));
            }
        }
        return nodes;
    }

    // The corners travel as (left, top), (right, top), (right, bottom), (left, bottom); the frame
    // calibrates with the first and the third.
    Vec CalibrateTwoPoint(Vec raw, const std::array<std::uint16_t, kTwoPointValues>& corners) const
    {
        const auto [low, high] = TwoPointCalibrationPoints();
        return {Interpolate(raw.x, corners[0], corners[4], low.x, high.x),
                Interpolate(raw.y, corners[1], corners[5], low.y, high.y)};
    }

    // In the triangle of the grid that holds the raw reading, or the one it lies least outside of.
    Vec CalibrateNinePoint(Vec raw, const std::array<std::uint16_t, kNinePointValues>& values) const
    {
        const std::array<Vec, kNinePoints> nodes = NinePointNodes();
        auto rawOf = [&](std::size_t point) {
            return Vec{static_cast<double>(values[2 * point]), static_cast<double>(values[2 * point + 1])};
        };
        double bestInside = -std::numeric_limits<double>::infinity();
        Vec best;
        for (int row = 0; row < 2; ++row) {
            for (int column = 0; column < 2; ++column) {
                const std::size_t p00 = PointAtGrid(column, row), p10 = PointAtGrid(column + 1, row);
                const std::size_t p01 = PointAtGrid(column, row + 1), p11 = PointAtGrid(column + 1, row + 1);
                for (const auto& triangle : {std::array{p00, p10, p11}, std::array{p00, p11, p01}}) {
                    const auto weights = Barycentric(raw, rawOf(triangle[0]), rawOf(triangle[1]), rawOf(triangle[2]));
                    if (!weights)
                        continue;
                    const double inside = std::min({(*weights)[0], (*weights)[1], (*weights)[2]});
                    if (inside > bestInside) {
                        bestInside = inside;
                        best = (*weights)[0] * nodes[triangle[0]] + (*weights)[1] * nodes[triangle[1]] +
                               (*weights)[2] * nodes[triangle[2]];
                    }
                }
            }
        }
        return best;
    }

private:
    ScreenSize display_;
    AxesOnDisplay axes_;
    Vec centre_;
};

std::uint16_t AsRecordValue(double raw) { return static_cast<std::uint16_t>(Round(raw)); }

bool OnDisplay(ScreenSize display, FingerPosition finger)
{
    return 0 <= finger.x && finger.x < display.width && 0 <= finger.y && finger.y < display.height;
}

}  // namespace

std::optional<ScreenPoint> ReportedPointer(const FrameState& state, FingerPosition finger)
{
    const FrameState::Mounting& mounting = state.mounting;
    const bool movesThePointer = state.running == Personality::NormalFirmware && !state.settings.scanMode &&
                                 state.settings.touchMode == touch_mode::kMouse;
    if (!movesThePointer || !OnDisplay(mounting.display, finger))
        return std::nullopt;
    const Vec own = ScreenToOwn(AxesOf(mounting), Vec{finger.x, finger.y} - DisplayCentre(mounting.display));
    const Vec raw = RawAt(mounting, own);
    const Firmware firmware(mounting.display, AxesOf(state.settings));
    const FrameState::CalibrationRecords& records = state.calibration.current;
    const Vec calibrated = state.calibration.kind == CalibrationKind::NinePoint
                               ? firmware.CalibrateNinePoint(raw, records.ninePoint)
                               : firmware.CalibrateTwoPoint(raw, records.twoPoint);
    return firmware.ToPointer(calibrated);
}

FrameState::Mounting TurnedWithDisplay(FrameState::Mounting upright, std::uint8_t rotation, bool reversed)
{
    FrameState::Mounting turned = upright;
    turned.rotation = rotation;
    turned.reversed = reversed;
    if (rotation % 2 == 1)
        std::swap(turned.display.width, turned.display.height);
    return turned;
}

FrameState::CalibrationRecords ExactRecords(const FrameState::Mounting& mounting)
{
    const Firmware firmware(mounting.display, AxesOf(mounting));
    FrameState::CalibrationRecords records;
    const auto [low, high] = firmware.TwoPointCalibrationPoints();
    const Vec rawLow = RawAt(mounting, low), rawHigh = RawAt(mounting, high);
    const std::uint16_t left = AsRecordValue(rawLow.x), top = AsRecordValue(rawLow.y);
    const std::uint16_t right = AsRecordValue(rawHigh.x), bottom = AsRecordValue(rawHigh.y);
    records.twoPoint = {left, top, right, top, right, bottom, left, bottom};
    const std::array<Vec, kNinePoints> nodes = firmware.NinePointNodes();
    for (std::size_t point = 0; point < kNinePoints; ++point) {
        const Vec raw = RawAt(mounting, nodes[point]);
        records.ninePoint[2 * point] = AsRecordValue(raw.x);
        records.ninePoint[2 * point + 1] = AsRecordValue(raw.y);
    }
    return records;
}

namespace {

// Every target of both target screens on the display.
std::vector<ScreenPoint> TargetsOn(ScreenSize display)
{
    const auto nine = NinePointLayout(display).Centres();
    std::vector<ScreenPoint> targets(nine.begin(), nine.end());
    targets.push_back(TargetCentre(TwoPointTarget::TopLeft, display));
    targets.push_back(TargetCentre(TwoPointTarget::BottomRight, display));
    return targets;
}

bool NearHalf(double raw)
{
    constexpr double kHair = 0.05;
    return std::abs(raw - std::floor(raw) - 0.5) < kHair;
}

// Moves the bezel off raw readings of a half unit at the targets, one axis at a time.
void AvoidHalfUnitsAtTargets(FrameState::Mounting& mounting)
{
    constexpr double kShift = 0.2;
    constexpr int kTries = 4;
    const Firmware bezel(mounting.display, AxesOf(mounting));
    const std::vector<ScreenPoint> targets = TargetsOn(mounting.display);
    for (int attempt = 0; attempt < kTries; ++attempt) {
        bool xNearHalf = false, yNearHalf = false;
        for (ScreenPoint target : targets) {
            const Vec raw = RawAt(mounting, bezel.OwnPosition(target));
            xNearHalf = xNearHalf || NearHalf(raw.x);
            yNearHalf = yNearHalf || NearHalf(raw.y);
        }
        if (!xNearHalf && !yNearHalf)
            return;
        mounting.xRawAtCentre += xNearHalf ? kShift : 0;
        mounting.yRawAtCentre += yNearHalf ? kShift : 0;
    }
}

}  // namespace

void DeliverForDisplay(FrameState& state, ScreenSize display)
{
    FrameState::Mounting& mounting = state.mounting;
    mounting.xRawAtCentre += (display.width - mounting.display.width) / 2.0;
    mounting.yRawAtCentre += (display.height - mounting.display.height) / 2.0;
    mounting.display = display;
    FrameState::Mounting nominal = mounting;
    nominal.xUnitsPerPixel = 1;
    nominal.yUnitsPerPixel = 1;
    nominal.xRawAtCentre = display.width / 2.0;
    nominal.yRawAtCentre = display.height / 2.0;
    AvoidHalfUnitsAtTargets(mounting);
    const FrameState::CalibrationRecords exact = ExactRecords(nominal);
    state.calibration.factory = exact;
    state.calibration.stored = exact;
    state.calibration.current = exact;
}

}  // namespace zorvane
