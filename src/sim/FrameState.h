#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace zorvane {

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

    Usb usb;
    Identity identity;
    Layout layout;
    Axis axis;
};

}  // namespace zorvane
