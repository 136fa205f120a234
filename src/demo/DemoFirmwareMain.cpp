// zorvane-demo-firmware FILE: writes a firmware image the built-in simulated frame's bootloader takes,
// bringing firmware 0320, so the demo's firmware page can run a whole update.

#include "sim/FirmwareImages.h"
#include "sim/SimulatedFrame.h"

#include <cstdio>
#include <cstdint>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: zorvane-demo-firmware FILE\n");
        return 2;
    }
    constexpr std::uint16_t kDemoVersion = 0x0320;
    const auto image = zorvane::ImageForFrame(zorvane::SimulatedFrame().state(), kDemoVersion);
    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "zorvane-demo-firmware: cannot write %s\n", argv[1]);
        std::remove(argv[1]);  // a half-written image would only be refused later
        return 1;
    }
    return 0;
}
