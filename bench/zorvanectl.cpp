// zorvanectl as a script runs it, from process start to exit: `--simulated info` (goal under 50 ms),
// and a whole firmware update of the simulated frame's 128 KiB image (1 ms per bootloader reply, the
// frame's own pace), to be set against BM_FirmwarePageUpdate of bench_firmware_transfer.

#include "sim/FirmwareImages.h"
#include "sim/SimulatedFrame.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace zorvane {
namespace {

using Clock = std::chrono::steady_clock;

// Runs zorvanectl with `args`, its output discarded; the exit status.
int RunZorvanectl(std::vector<std::string> args)
{
    std::vector<char*> argv{const_cast<char*>(ZORVANECTL_PATH)};
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    int status = -1;
    if (posix_spawn(&pid, ZORVANECTL_PATH, &files, nullptr, argv.data(), environ) == 0)
        waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&files);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void Measure(benchmark::State& state, const std::vector<std::string>& args)
{
    for (auto _ : state) {
        const auto start = Clock::now();
        const int exit = RunZorvanectl(args);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (exit != 0) {
            state.SkipWithError("zorvanectl failed");
            break;
        }
    }
}

void BM_ZorvanectlInfo(benchmark::State& state) { Measure(state, {"--simulated", "info"}); }
BENCHMARK(BM_ZorvanectlInfo)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ZorvanectlFirmwareUpdate(benchmark::State& state)
{
    const auto image = ImageForFrame(SimulatedFrame().state(), 0x0320);
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("bench-zorvanectl-" + std::to_string(getpid()) + ".bin");
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), image.size());
    Measure(state, {"--simulated", "firmware", path.string()});
    std::filesystem::remove(path);
}
BENCHMARK(BM_ZorvanectlFirmwareUpdate)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zorvane

BENCHMARK_MAIN();
