// Time from process start to the first painted frame of the main window, with the simulated
// frame attached and with no frame (this machine's hidraw devices: none), the two detections of the
// start-up included. Each iteration starts this program afresh as a child that reports the moment its
// main window finished its first paint. Offscreen unless QT_QPA_PLATFORM names a platform (e.g. xcb on a
// running X server). Goal: under 400 ms.

#include "app/MainWindowRun.h"
#include "demo/SimulatedPlatform.h"
#include "platform/linux/HidrawBackend.h"
#include "platform/linux/OwnExecutableName.h"
#include "platform/linux/ProcProcessList.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

extern char** environ;

namespace zorvane {
namespace {

constexpr const char* kChildFlag = "--first-paint-child";
enum Frame { kSimulatedFrame = 0, kNoFrame = 1 };

std::int64_t MonotonicNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

AppPlatform PlatformFor(Frame frame)
{
    if (frame == kSimulatedFrame)
        return SimulatedPlatform(std::make_shared<SimulatedHidBackend>());
    AppPlatform platform;
    platform.link = [] {
        return LinkPlatform{HidrawBackend::WithUdev(), std::make_shared<ProcProcessList>(), OwnExecutableName()};
    };
    return platform;
}

// Prints the moment the watched window's first paint has ended, then ends the event loop.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QObject* window)
        : window_(window)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == window_ && event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, [] {
                std::printf("%lld\n", static_cast<long long>(MonotonicNs()));
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return false;
    }

private:
    QObject* const window_;
    bool seen_ = false;
};

int RunChild(int argc, char** argv, Frame frame)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    MainWindowRun run(PlatformFor(frame));
    FirstPaint firstPaint(&run.window());
    application.installEventFilter(&firstPaint);
    run.window().show();
    return application.exec();
}

std::string SelfPath()
{
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

// Starts the child, returns the seconds from the spawn to its first painted frame (negative on failure).
double StartToFirstPaint(Frame frame)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    const std::string self = SelfPath();
    std::string flag = kChildFlag;
    std::string mode = std::to_string(frame);
    char* args[] = {const_cast<char*>(self.c_str()), flag.data(), mode.data(), nullptr};

    const std::int64_t start = MonotonicNs();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, self.c_str(), &actions, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    char text[64] = {};
    const ssize_t length = spawned == 0 ? read(pipeFds[0], text, sizeof text - 1) : -1;
    close(pipeFds[0]);
    if (spawned == 0)
        waitpid(child, nullptr, 0);
    if (length <= 0)
        return -1;
    return static_cast<double>(std::stoll(text) - start) / 1e9;
}

void BM_StartToFirstPaint(benchmark::State& state)
{
    const auto frame = static_cast<Frame>(state.range(0));
    for (auto _ : state) {
        const double seconds = StartToFirstPaint(frame);
        if (seconds < 0) {
            state.SkipWithError("the child reported no first paint");
            return;
        }
        state.SetIterationTime(seconds);
    }
    state.SetLabel(frame == kSimulatedFrame ? "simulated frame" : "no frame");
}
BENCHMARK(BM_StartToFirstPaint)->Arg(kSimulatedFrame)->Arg(kNoFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
}  // namespace zorvane

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], zorvane::kChildFlag) == 0)
        return zorvane::RunChild(argc, argv, static_cast<zorvane::Frame>(std::atoi(argv[2])));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
