#pragma once

#include "protocol/FirmwareImage.h"
#include "sim/FrameState.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zorvane {

// Firmware image files laid out the way the updater reads them, for the simulated frame, its
// tests and benchmarks.
struct ImageLayout {
    std::size_t fileSize = 0;
    AcceptedSizes sizes;  // of the bootloader the image is for: they decide the length form
    std::uint8_t key = 0x5A;
    std::array<std::uint8_t, kImageTargetSize> targetBytes{};
    std::vector<std::uint8_t> payload;
};

// The image file, with the checksum its payload needs; unread bytes are 0. A file too small for the
// header and the payload grows to hold them.
std::vector<std::uint8_t> LayOutImage(const ImageLayout& layout);

// A payload of `length` varied bytes that brings firmware `version` to the frame `state` describes.
std::vector<std::uint8_t> FirmwarePayload(const FrameState& state, std::uint16_t version, std::size_t length);
// An image the bootloader of `state` takes: its first accepted size, its target bytes, and a
// payload that fills the file and brings firmware `version`.
std::vector<std::uint8_t> ImageForFrame(const FrameState& state, std::uint16_t version);

}  // namespace zorvane
