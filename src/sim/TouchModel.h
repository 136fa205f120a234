#pragma once

#include "calibration/ScreenGeometry.h"
#include "sim/FrameState.h"

#include <cstdint>
#include <optional>

namespace zorvane {

// Where a finger rests on the display, in pixels; it need not rest on a pixel's centre.
struct FingerPosition {
    double x = 0;
    double y = 0;
};

// How the frame turns a resting finger into a pointer position.
//
// The bezel senses the finger in raw units along its own axes, as its mounting lays them on the
// display. The firmware calibrates the raw reading with the record of its calibration kind that it
// applies now, which gives display pixels still along its own axes; it then mirrors its own x when
// its reverse setting is 1 and turns the result clockwise by its rotation setting. The window system
// puts the pointer on the nearest pixel of the display.
//
// The firmware's calibration points are the target screens' targets. A two-point record holds the
// raw readings of the two targets: `left` the raw x of whichever has the smaller own x, and so on,
// the frame interpolating linearly between them. Each nine-point record point, named by its place in
// the frame's own axes, holds the raw reading of the target found in that direction from the centre;
// between the points the frame interpolates on a triangulated 3 x 3 grid. Record values are read as
// the 16-bit numbers they travel as.
//
// Only touch mode 1 (mouse), the mode the target screens set, moves the pointer: in the other touch
// modes the frame sends touch contacts instead, and in scan mode and in its bootloader it reports no
// touches at all. Nothing either for a finger off the display.
std::optional<ScreenPoint> ReportedPointer(const FrameState& state, FingerPosition finger);

// The bezel of `upright` and its display turned together by `rotation` quarter turns, the bezel
// mounted from the back when `reversed`. A quarter-turned display is a portrait one: the window system
// presents it with width and height swapped, so the bezel's long side still lies along the display's.
FrameState::Mounting TurnedWithDisplay(FrameState::Mounting upright, std::uint8_t rotation, bool reversed);

// The records with which a bezel mounted as `mounting`, its settings saying the same, reports every
// finger on a target where it rests: what a perfect calibration leaves in the frame.
FrameState::CalibrationRecords ExactRecords(const FrameState::Mounting& mounting);

// The same bezel delivered for a display of another size: its mounting keeps its scale and how far
// off the display centre it reads, and every record (factory, stored, applied) becomes the exact one
// of the nominal mounting on that display, one raw unit per pixel with the centre read at the
// display centre. Where the bezel would read a target within a hair of a half unit, no whole record
// value reports it on its centre and the target screens' loops flip about it for ever: that axis of
// the bezel then lies a fifth of a unit further on. The default frame is the one delivered for
// 1920 x 1080.
void DeliverForDisplay(FrameState& state, ScreenSize display);

}  // namespace zorvane
