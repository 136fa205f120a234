// zorvanectl as a script runs it: the built executable, its exit status, its output.

#include "ImageFile.h"
#include "calibration/CalibrationFileFormat.h"
#include "platform/linux/FrameLock.h"
#include "sim/FirmwareImages.h"
#include "sim/SimulatedFrame.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern char** environ;

namespace zorvane {
namespace {

using testing::ImageFile;

struct Finished {
    int exit = -1;
    std::string out;
    std::string err;

    QJsonObject Json() const { return QJsonDocument::fromJson(QByteArray::fromStdString(out)).object(); }
};

std::string ReadWhole(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class Zorvanectl : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The frame locks live in a runtime folder of this test's own.
        folder_ = std::filesystem::path(::testing::TempDir()) / ("zorvanectl-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
        chmod(folder_.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    Finished Start(const std::vector<std::string>& args) const
    {
        std::vector<char*> argv{const_cast<char*>(ZORVANECTL_PATH)};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        const std::filesystem::path out = folder_ / "out", err = folder_ / "err";
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&files, STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        pid_t pid = 0;
        Finished run;
        if (posix_spawn(&pid, ZORVANECTL_PATH, &files, nullptr, argv.data(), environ) == 0) {
            int status = 0;
            waitpid(pid, &status, 0);
            run.exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        posix_spawn_file_actions_destroy(&files);
        run.out = ReadWhole(out);
        run.err = ReadWhole(err);
        return run;
    }

    std::filesystem::path Path(const std::string& name) const { return folder_ / name; }

private:
    std::filesystem::path folder_;
};

TEST_F(Zorvanectl, InfoShowsTheHomePagesIdentificationAsJson)
{
    const Finished run = Start({"--simulated", "--json", "info"});
    ASSERT_EQ(run.exit, 0) << run.err;
    const QJsonObject info = run.Json();
    const FrameState frame = SimulatedFrame().state();
    EXPECT_EQ(info["model"].toString().toStdString(), frame.identity.modelName);
    EXPECT_EQ(info["boardLayout"].toString(), QStringLiteral("[X:64+64+64·Y:48+48+12]"));
    EXPECT_EQ(info["xReceivers"].toInt(), frame.layout.xReceivers);
    EXPECT_EQ(info["interfacePath"].toString(), QStringLiteral("/dev/hidraw0&col03"));
    for (const char* field : {"version", "identificationCode", "maxTouchPoints", "buildTime", "vidPid"})
        EXPECT_FALSE(info[field].toString().isEmpty()) << field;
    EXPECT_TRUE(run.err.empty()) << run.err;
}

TEST_F(Zorvanectl, CommandLineFaultsAndTheFrameOfThisMachineHaveTheirExitCodes)
{
    struct Case {
        std::vector<std::string> args;
        int exit;
        const char* said;  // on standard error
    };
    const Case cases[] = {
        {{}, 2, "no command"},
        {{"--simulated", "reboot"}, 2, "unknown command 'reboot'"},
        {{"--simulated", "settings", "--rotation", "45"}, 2, "invalid value '45'"},
        {{"--simulated", "settings", "--rotation"}, 2, "needs a value"},
        {{"--simulated", "info", "--weak"}, 2, "unknown option '--weak'"},
        {{"--simulated", "signal", "--weak", "--kind", "power"}, 2, "--weak"},
        {{"--simulated", "calibration", "import"}, 2, "FILE"},
        {{"--simulated", "firmware", "/nonexistent/image.bin"}, 5, "no such firmware file"},
        // No frame is plugged into this machine.
        {{"info"}, 3, "no frame found"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "(none)" : c.args.back());
        const Finished run = Start(c.args);
        EXPECT_EQ(run.exit, c.exit);
        EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
        EXPECT_TRUE(run.exit == 0 || run.out.empty()) << run.out;
    }
}

TEST_F(Zorvanectl, HelpOnEveryLevelAndTheVersion)
{
    const Finished overview = Start({"--help"});
    EXPECT_EQ(overview.exit, 0);
    for (const char* word : {"info", "calibration", "settings", "signal", "firmware", "130", "udev rule"})
        EXPECT_NE(overview.out.find(word), std::string::npos) << word;
    for (const char* command : {"info", "calibration", "settings", "signal", "firmware"}) {
        const Finished help = Start({command, "--help"});
        EXPECT_EQ(help.exit, 0) << command;
        EXPECT_NE(help.out.find(std::string("zorvanectl [--simulated] [--json] ") + command), std::string::npos);
        EXPECT_NE(help.out.find("Exit status"), std::string::npos) << command;
    }
    const Finished version = Start({"--version"});
    EXPECT_EQ(version.exit, 0);
    EXPECT_EQ(version.out.rfind("zorvanectl 1.", 0), 0u) << version.out;
}

TEST_F(Zorvanectl, ExportedCalibrationIsTheFramesRecordInItsFileFormat)
{
    const Finished run = Start({"--simulated", "--json", "calibration", "export", Path("").string()});
    ASSERT_EQ(run.exit, 0) << run.err;
    const std::filesystem::path file = Path("Zorvane_192-108.cdat");  // the page's proposed name, in the folder
    EXPECT_EQ(run.Json()["exported"].toString().toStdString(), file.string());
    const std::string bytes = ReadWhole(file);
    ASSERT_EQ(bytes.size(), kCalibrationFileSize);
    TwoPointCalibration record;
    ASSERT_EQ(DecodeCalibrationFile({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, record),
              CalibrationFileResult::Success);
    const QJsonObject device = run.Json()["device"].toObject();
    EXPECT_EQ(record.left, device["left"].toInt());
    EXPECT_EQ(record.bottom, device["bottom"].toInt());
    EXPECT_EQ(device["deviceId"].toString(), QStringLiteral("192-108"));
    // Nothing but the file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Path("")), {}), 4);  // the file, out, err, the lock
}

TEST_F(Zorvanectl, ImportWritesAGoodFilesRecordAndRefusesABadChecksumBeforeTouchingTheFrame)
{
    TwoPointCalibration record{.left = 0x120, .top = 0x80, .right = 0x700, .bottom = 0x3B0, .deviceId = {u'1', u'9', u'2', u'-', u'1', u'0', u'8'}};
    CalibrationFileBytes bytes = EncodeCalibrationFile(record);
    const auto write = [&](const std::string& name) {
        std::ofstream(Path(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return Path(name).string();
    };
    const Finished good = Start({"--simulated", "--json", "calibration", "import", write("good.cdat")});
    ASSERT_EQ(good.exit, 0) << good.err;
    const QJsonObject device = good.Json()["device"].toObject();
    EXPECT_EQ(device["data"].toString(), QStringLiteral("120-80-700-3B0"));  // read back from the frame
    EXPECT_EQ(device["left"].toInt(), 0x120);

    bytes[4] ^= 1;  // the checksum field
    const Finished bad = Start({"--simulated", "calibration", "import", write("bad.cdat")});
    EXPECT_EQ(bad.exit, 5);
    EXPECT_NE(bad.err.find("wrong version or checksum"), std::string::npos) << bad.err;
    const Finished missing = Start({"--simulated", "calibration", "import", Path("none.cdat").string()});
    EXPECT_EQ(missing.exit, 5);
}

TEST_F(Zorvanectl, CalibrationKindAndResetReportTheFramesState)
{
    const Finished nine = Start({"--simulated", "--json", "calibration", "kind", "nine-point"});
    ASSERT_EQ(nine.exit, 0) << nine.err;
    EXPECT_EQ(nine.Json()["kind"].toString(), QStringLiteral("nine-point"));
    const Finished reset = Start({"--simulated", "--json", "calibration", "reset"});
    ASSERT_EQ(reset.exit, 0) << reset.err;
    EXPECT_EQ(reset.Json()["kind"].toString(), QStringLiteral("two-point"));
    EXPECT_FALSE(reset.Json()["data"].toString().isEmpty());
}

TEST_F(Zorvanectl, SettingsChangesAreEachAcceptedAndReadBack)
{
    const Finished run = Start({"--simulated", "--json", "settings", "--rotation=180", "--reverse", "on", "--touch-mode",
                           "multi-touch"});
    ASSERT_EQ(run.exit, 0) << run.err;
    const QJsonObject settings = run.Json()["settings"].toObject();
    EXPECT_EQ(settings["rotation"].toString(), QStringLiteral("180"));
    EXPECT_EQ(settings["reverse"].toString(), QStringLiteral("on"));
    EXPECT_EQ(settings["touchMode"].toString(), QStringLiteral("multi-touch"));
    const QJsonArray changes = run.Json()["changes"].toArray();
    ASSERT_EQ(changes.size(), 3);
    for (const QJsonValue& change : changes)
        EXPECT_TRUE(change.toObject()["accepted"].toBool()) << change.toObject()["setting"].toString().toStdString();
}

TEST_F(Zorvanectl, WeakListNamesTheSimulatedFramesWeakReceiversWithBoardAndPosition)
{
    const Finished run = Start({"--simulated", "--json", "signal", "--weak"});
    ASSERT_EQ(run.exit, 0) << run.err;
    const QJsonArray weak = run.Json()["weak"].toArray();
    const FrameState frame = SimulatedFrame().state();
    ASSERT_EQ(weak.size(), std::ssize(frame.signal.xWeakReceivers) + std::ssize(frame.signal.yWeakReceivers));
    // X receiver 38 sits on the first board of 64 (a firmware before real board sizes).
    const QJsonObject first = weak.first().toObject();
    EXPECT_EQ(first["axis"].toString(), QStringLiteral("X"));
    EXPECT_EQ(first["receiver"].toInt(), frame.signal.xWeakReceivers.front() + 1);
    EXPECT_EQ(first["position"].toString(), QStringLiteral("S(Baord01-38)->R(Board01-38)"));
    EXPECT_LT(first["value"].toInt(), run.Json()["limit"].toInt());
}

TEST_F(Zorvanectl, SignalAsCsvHasOneLinePerReceiver)
{
    const Finished run = Start({"--simulated", "signal", "--direction", "forward", "--kind", "standard", "--csv"});
    ASSERT_EQ(run.exit, 0) << run.err;
    const FrameState frame = SimulatedFrame().state();
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1 + frame.layout.xReceivers + frame.layout.yReceivers);
    EXPECT_EQ(run.out.rfind("axis,receiver,value\nX,1,", 0), 0u);
}

TEST_F(Zorvanectl, FrameHeldByTheWindowProgramIsRefusedAndOnlyThatFrame)
{
    const FrameLock window(kSimulatedFrameLock, "zorvane");
    ASSERT_EQ(window.state(), FrameLock::State::Acquired);
    const Finished refused = Start({"--simulated", "--json", "info"});
    EXPECT_EQ(refused.exit, 7);
    EXPECT_NE(refused.err.find("in use by zorvane " + std::to_string(getpid())), std::string::npos) << refused.err;
    EXPECT_EQ(refused.Json()["exit"].toInt(), 7);
    // The frame on this machine's hidraw nodes is another frame with a lock of its own.
    EXPECT_EQ(Start({"info"}).exit, 3);
}

TEST_F(Zorvanectl, FirmwareUpdateBringsTheNewVersionAndRefusesABadImageWithThePagesReason)
{
    std::vector<std::uint8_t> image = ImageForFrame(SimulatedFrame().state(), 0x0320);
    const ImageFile good(image);
    const Finished run = Start({"--simulated", "--json", "firmware", good.path().string()});
    ASSERT_EQ(run.exit, 0) << run.err;
    EXPECT_EQ(run.Json()["firmwareVersion"].toString(), QStringLiteral("0320"));
    EXPECT_NE(run.err.find("\n100%\n"), std::string::npos) << run.err;  // plain lines when not a terminal

    image[0x100] ^= 0xFF;  // the payload no longer matches its checksum
    const ImageFile bad(image);
    const Finished refused = Start({"--simulated", "firmware", bad.path().string()});
    EXPECT_EQ(refused.exit, 5);
    EXPECT_NE(refused.err.find("固件文件格式错误"), std::string::npos) << refused.err;
}

}  // namespace
}  // namespace zorvane
