#pragma once

#include "calibration/ScreenGeometry.h"
#include "protocol/CommandTable.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zorvane {

// What the frame runs, and so how it presents itself on USB and which report id it answers.
enum class Personality { NormalFirmware, Bootloader };

// Everything the simulated frame knows about itself. The defaults describe one consistent frame: a
// 192 x 108 receiver bezel whose board lists add up to those counts, and identity bytes that agree
// with its USB attributes.
struct FrameState {
    // What the USB stack reports for every collection of the frame.
    struct Usb {
        std::uint16_t vendorId = 0x1101;
        std::uint16_t productId = 0x0C21;
        std::uint16_t versionNumber = 0x0316;
    };

    // The fields of the identity and model-name replies.
    struct Identity {
        std::uint16_t identificationCode = 0x5A3C;  // shown as 5A3C
        std::uint8_t touchPointFlag = 0xFF;         // 0 or 0xFF: the count is shown with "(F)"
        std::uint8_t maxTouchPoints = 20;
        // Sent as is in identity bytes 18..21: the vendor id high byte first, the product id low byte
        // first, as the frame's firmware lays them out ("1101&0c21").
        std::array<std::uint8_t, 4> vidPid = {0x11, 0x01, 0x21, 0x0C};
        std::uint16_t firmwareVersion = 0x0316;
        std::uint16_t secondVersion = 0x0102;
        std::string buildTime = "2024-05-17 09:41:26";  // at most 20 bytes are sent
        std::string modelName = "ZV-IR65T";             // at most 59 bytes are sent
    };

    // The fields of the layout reply. Board lists use the frame's letters ('A' 64, 'B' 32, 'C' 48
    // receivers) or two-digit counts; both lists with their NULs must fit bytes 16..35, beyond which
    // they are cut off.
    struct Layout {
        std::uint16_t xReceivers = 192;
        std::uint16_t yReceivers = 108;
        std::array<std::uint8_t, 4> layoutParams = {0x06, 0x04, 0x02, 0x01};
        std::uint8_t straightThreshold = 40;
        std::uint8_t obliqueThreshold = 30;
        std::string xBoards = "AAA";   // 64 + 64 + 64
        std::string yBoards = "CC12";  // 48 + 48 + 12
        std::uint8_t byte36 = 0x01;
        std::uint8_t byte37 = 0x00;
    };

    // The axis-parameter reply, bytes 5..12. Bytes 5..8 double as the identification suffix when the
    // reply code is 0x90.
    struct Axis {
        bool identificationSuffix = true;  // reply code 0x90; otherwise the sub-command echo 0x10
        std::uint8_t suffixFirst = 1;      // r[5]
        std::uint8_t xParamB = 3;          // r[6]
        std::uint8_t suffixThird = 0;      // r[7]
        std::uint8_t yParamB = 2;          // r[8]
        std::uint8_t xParamC = 7;          // r[9]
        std::uint8_t xParamA = 12;         // r[10]
        std::uint8_t yParamC = 5;          // r[11]
        std::uint8_t yParamA = 10;         // r[12]
    };

    // Both calibration records as they travel, in the frame's own coordinates; the defaults are the
    // exact records of a bezel on a 1920 x 1080 display whose units are its pixels (one unit per
    // pixel, the centre read at 960, 540), upright. The two-point record is kept
    // as the four corners (left, top), (right, top), (right, bottom), (left, bottom); the nine-point
    // record as nine points, x then y: top-left, top-right, bottom-right, bottom-left, centre,
    // middle-left, top-middle, middle-right, bottom-middle.
    struct CalibrationRecords {
        std::array<std::uint16_t, kTwoPointValues> twoPoint = {150, 150, 1770, 150, 1770, 930, 150, 930};
        std::array<std::uint16_t, kNinePointValues> ninePoint = {60,   33,  1860, 33,  1860, 1047, 60,  1047, 960,
                                                                 540,  60,  540,  960, 33,   1860, 540,  960, 1047};

        bool operator==(const CalibrationRecords&) const = default;
    };

    struct Calibration {
        CalibrationKind kind = CalibrationKind::TwoPoint;
        CalibrationRecords factory;  // what a reset brings back
        CalibrationRecords stored;   // what the frame keeps in flash: changed by a commit
        CalibrationRecords current;  // what the frame applies to its touch reports, in RAM: changed by a write
    };

    struct Settings {
        std::uint8_t rotation = 0;      // 0..3 for 0°, 90°, 180°, 270°
        std::uint8_t reversed = 0;      // reverse mounting, 0 or 1
        bool reverseSupported = true;   // older firmware answers both reverse commands with status 0x83
        std::uint8_t touchMode = touch_mode::kMultiTouch;  // 1 mouse, 2 touch, 3 multi-touch
        bool scanMode = false;          // switched by the touch-mode values 0xCC (on) and 0xFF (off)
        std::uint8_t led = 1;           // the LED switch
        int initialiseCount = 0;        // initialise commands received
        std::optional<std::uint8_t> commandA212;  // last parameter: 0 a target screen opened, 1 it closed
        std::optional<std::uint8_t> command04;    // last sub-command, with the same meaning
    };

    // How the receivers read. Every receiver has a fixed level relative to the scan's threshold
    // (straight or oblique, from the layout): healthy ones well above twice the threshold, weak ones
    // below it. Value readings scatter around the level by the noise; Standard is the level itself,
    // Power the drive the frame needs for it (high for weak receivers). An oblique scan pairs each
    // receiver with the emitter `offset` positions after (forward) or before (behind) it; the
    // receivers without a partner read exactly 2.
    struct Signal {
        std::uint64_t noise = 0x2545F4914F6CDD1Dull;  // the noise generator; the same value repeats the same readings
        std::uint8_t noiseAmplitude = 6;              // a Value reading strays at most this far from its level
        std::uint8_t xObliqueOffset = 8;
        std::uint8_t yObliqueOffset = 6;
        std::vector<int> xWeakReceivers = {37, 150};  // 0-based receiver indexes
        std::vector<int> yWeakReceivers = {63};
    };

    // How the bezel lies on the display, which the firmware cannot know: the touch model maps a
    // finger through it to the raw reading the firmware calibrates. Its own axes lie on the display
    // turned by `rotation` quarter turns clockwise, after its own x is mirrored when `reversed`;
    // the settings are right when they say the same. Along each own axis it counts its own units
    // per display pixel, and it reads the display centre at some raw position. The defaults are a
    // bezel a little off the factory record's mounting, so that the frame needs calibrating.
    struct Mounting {
        ScreenSize display{1920, 1080};  // the pixels of the display it is mounted on; the demo follows its screen
        std::uint8_t rotation = 0;
        bool reversed = false;
        double xUnitsPerPixel = 1.01;
        double yUnitsPerPixel = 0.99;
        double xRawAtCentre = 964;
        double yRawAtCentre = 537;
    };

    // A data transfer the bootloader has begun and not yet finished.
    struct Transfer {
        std::uint16_t checksum = 0;        // the payload sum plus this is 0 modulo 65536
        std::size_t packets = 0;           // data packets taken; the next carries this index modulo 256
        std::vector<std::uint8_t> payload;  // as received, the last packet's padding included
    };

    // The bootloader personality: a USB identity of its own (product id 0xFFFF, `versionNumber`),
    // images taken only when they name this frame, and the firmware it installed last.
    struct Bootloader {
        std::uint16_t versionNumber = 0x1606;  // the host sizes images by it
        // Image bytes 0x46..0x59 of the images meant for this frame.
        std::array<std::uint8_t, 20> targetBytes = {'Z', 'V', '-', 'I', 'R', '6', '5', 'T', 0, 0,
                                                    0x11, 0x01, 0x21, 0x0C, 0, 0, 0, 0, 0, 0};
        // Where a payload keeps the firmware version it brings (little-endian): the version the
        // frame reports once it runs that firmware. A shorter payload leaves the version as it was.
        std::size_t versionOffset = 0;
        std::optional<Transfer> transfer;
        std::vector<std::uint8_t> installedPayload;  // of the last finished image, padding included
    };

    // A restart, whatever causes it: power lost and back (a re-plug), the normal firmware entering
    // its bootloader, the bootloader's finish. The frame keeps what its flash holds: the firmware, the
    // committed records, the calibration kind, rotation, reverse mounting and touch mode. It loses
    // what it holds only in RAM: the applied records go back to the committed ones, scan mode goes
    // off, the LED on, and a transfer under way is dropped. The bezel and its mounting are as they were.
    void Restart(Personality into);

    Personality running = Personality::NormalFirmware;
    Usb usb;
    Identity identity;
    Layout layout;
    Axis axis;
    Calibration calibration;
    Settings settings;
    Mounting mounting;
    Signal signal;
    Bootloader bootloader;
};

}  // namespace zorvane
