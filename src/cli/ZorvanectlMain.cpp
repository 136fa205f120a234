// zorvanectl: the service tool without a window, on this machine's hidraw devices or, with
// --simulated, on the built-in simulated frame.

#include "cli/Interrupt.h"
#include "cli/Zorvanectl.h"
#include "platform/linux/HidrawBackend.h"
#include "platform/linux/OwnExecutableName.h"
#include "platform/linux/ProcProcessList.h"
#include "sim/SimulatedHidBackend.h"

#include <unistd.h>

#include <iostream>

int main(int argc, char** argv)
{
    using namespace zorvane;
    cli::InstallInterruptHandler();
    cli::CliPlatforms platforms;
    platforms.hidraw = [] {
        return LinkPlatform{HidrawBackend::WithUdev(), std::make_shared<ProcProcessList>(), OwnExecutableName()};
    };
    platforms.simulated = [] {
        return LinkPlatform{std::make_shared<SimulatedHidBackend>(), std::make_shared<ProcProcessList>(),
                            OwnExecutableName()};
    };
    cli::CliIo io{std::cout, std::cerr, isatty(STDERR_FILENO) == 1};
    return cli::RunZorvanectl({argv + 1, argv + argc}, io, platforms);
}
