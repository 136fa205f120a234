// The real executables, started as the technician starts them.

#include "TestApplication.h"
#include "widgets/Artwork.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace zorvane {
namespace {

constexpr int kDeadlineMs = 30000;

class StartUp : public ::testing::Test {
protected:
    void SetUp() override
    {
        testing::TestApplication();
        ASSERT_TRUE(runtimeDir.isValid());
        ASSERT_TRUE(tempDir.isValid());
        QFile::setPermissions(runtimeDir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    // The demo with its own runtime folder (where the single-instance lock lives) and no display.
    void Start(QProcess& process, bool offscreen)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        if (offscreen)
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir.path());
        environment.insert(QStringLiteral("TMPDIR"), tempDir.path());
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(ZORVANE_DEMO_PATH), QStringList());
        ASSERT_TRUE(process.waitForStarted(kDeadlineMs));
    }

    // Whether some process holds the single-instance lock (without taking it).
    bool LockHeld() const
    {
        const int fd = open(QDir(runtimeDir.path()).filePath(QStringLiteral("ZORVANE.lock")).toLocal8Bit().constData(),
                            O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return false;
        const bool held = flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
        close(fd);  // drops the lock if this probe took it
        return held;
    }

    static void Stop(QProcess& process)
    {
        ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
        process.waitForFinished(kDeadlineMs);
    }

    QTemporaryDir runtimeDir;
    QTemporaryDir tempDir;
};

TEST_F(StartUp, ASecondCopyEndsSilentlyEvenWhileTheFirstIsBusy)
{
    QProcess first;
    Start(first, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return LockHeld(); }, kDeadlineMs));
    ::kill(static_cast<pid_t>(first.processId()), SIGSTOP);  // as busy as a copy can be

    QProcess second;
    Start(second, true);
    ASSERT_TRUE(second.waitForFinished(kDeadlineMs));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardOutput().isEmpty());
    EXPECT_TRUE(second.readAllStandardError().isEmpty());
    EXPECT_EQ(first.state(), QProcess::Running);

    Stop(first);
    ASSERT_FALSE(LockHeld());
    QProcess third;  // however the first copy ended, a later one starts
    Start(third, true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return LockHeld(); }, kDeadlineMs));
    EXPECT_EQ(third.state(), QProcess::Running);
    Stop(third);
}

TEST_F(StartUp, TheDemoWithoutADisplayWritesScreenshotsOfTheConnectedFrame)
{
    QProcess demo;
    Start(demo, false);
    ASSERT_TRUE(demo.waitForFinished(kDeadlineMs));
    const QString errors = QString::fromLocal8Bit(demo.readAllStandardError());
    EXPECT_EQ(demo.exitCode(), 0) << errors.toStdString();
    EXPECT_TRUE(errors.contains(QStringLiteral("no display"))) << errors.toStdString();

    const QStringList folders = QDir(tempDir.path()).entryList({QStringLiteral("zorvane-screenshots-*")}, QDir::Dirs);
    ASSERT_EQ(folders.size(), 1);
    EXPECT_TRUE(errors.contains(folders.front())) << "the folder is named";
    const QImage start(QDir(tempDir.path()).filePath(folders.front() + QStringLiteral("/01-home-connected.png")));
    ASSERT_EQ(start.size(), QSize(1006, 713));
    EXPECT_EQ(start.pixel(985, 110), Artwork::Bitmap(542).pixel(10, 10)) << "connection light";
    EXPECT_EQ(start.pixel(2 + 390 + 115, 127 + 110 + 20), Artwork::Bitmap(554).pixel(115, 20)) << "state picture";
}

}  // namespace
}  // namespace zorvane
