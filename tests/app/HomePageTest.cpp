#include "MainWindowFixture.h"
#include "PixelProbes.h"
#include "widgets/Artwork.h"
#include "app/MainWindowRun.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QTest>
#include <QThread>

#include <mutex>
#include <thread>

namespace zorvane::testing {
namespace {

DeviceNotice Removal(const std::string& path) { return {DeviceNotice::Kind::Removal, path}; }
DeviceNotice Arrival(const std::string& path) { return {DeviceNotice::Kind::Arrival, path}; }

class HomePage : public OnMainWindow {
protected:
    CHomeDlg& home() { return window->homePage(); }

    // After start the second detection found the interface open, so it names no path; a detection on a
    // closed handle opens the interface and names it.
    void DetectOnAFreshHandle()
    {
        GetDeviceChannel().CloseDeviceHandle();
        home().Redetect();
        ASSERT_EQ(home().deviceInfo().interfacePath, SimulatedHidBackend::kCommandPath);
    }
};

TEST_F(HomePage, RemovalOfTheOpenedInterfaceShowsNotConnectedAtOnceWhateverTheCase)
{
    DetectOnAFreshHandle();
    const int queries = IdentityQueries();
    window->ShowPage(CZorvaneTestDlg::kPenTestPage);  // notices reach the home page whatever page shows
    window->OnDeviceChange(Removal(QString::fromLatin1(SimulatedHidBackend::kCommandPath).toUpper().toStdString()));
    EXPECT_FALSE(home().connected());
    EXPECT_EQ(window->deviceConnected(), 0);
    EXPECT_FALSE(GetDeviceChannel().IsOpen());
    EXPECT_EQ(IdentityQueries(), queries);  // no query on the way
}

TEST_F(HomePage, OtherRemovalsChangeNothing)
{
    DetectOnAFreshHandle();
    const std::string others[] = {SimulatedHidBackend::kFramePaths[0], SimulatedHidBackend::kUnrelatedPath,
                                  std::string(SimulatedHidBackend::kCommandPath) + "0"};
    for (const std::string& path : others) {
        window->OnDeviceChange(Removal(path));
        EXPECT_TRUE(home().connected()) << path;
        EXPECT_EQ(window->deviceConnected(), 1) << path;
        EXPECT_TRUE(GetDeviceChannel().IsOpen()) << path;
    }
}

TEST_F(HomePage, AfterADetectionOnTheOpenInterfaceNoRemovalMatches)
{
    ASSERT_EQ(home().deviceInfo().interfacePath, "");
    window->OnDeviceChange(Removal(SimulatedHidBackend::kCommandPath));
    EXPECT_TRUE(home().connected());
}

TEST_F(HomePage, EveryArrivalDetectsAgain)
{
    const std::string arrivals[] = {SimulatedHidBackend::kUnrelatedPath, SimulatedHidBackend::kCommandPath};
    int queries = IdentityQueries();
    for (const std::string& path : arrivals) {
        window->OnDeviceChange(Arrival(path));
        EXPECT_EQ(IdentityQueries(), ++queries) << path;
        EXPECT_TRUE(home().connected()) << path;
    }
    backend->Unplug();
    window->OnDeviceChange(Arrival(SimulatedHidBackend::kUnrelatedPath));
    EXPECT_FALSE(home().connected());
    EXPECT_EQ(window->deviceConnected(), 0);
}

TEST_F(HomePage, TheInformationTableShowsOnlyWhileConnected)
{
    const QRect title(370, 250, 100, 20);
    const QRect table(310, 240, 420, 250);
    const QPoint statePicture(390 + 115, 110 + 20);
    const int rowYs[] = {280, 310, 340, 370, 400, 430, 460};

    const QImage connected = home().RenderPicture();
    EXPECT_TRUE(HasInk(connected, title));
    for (const int y : rowYs) {
        EXPECT_TRUE(HasInk(connected, QRect(370, y, 140, 16))) << "label of row " << y;
        EXPECT_TRUE(HasInk(connected, QRect(515, y, 210, 16))) << "value of row " << y;
    }
    EXPECT_EQ(connected.pixel(500, 243), QColor(216, 224, 230).rgb());
    EXPECT_EQ(connected.pixel(statePicture), Artwork::Bitmap(554).pixel(115, 20));

    backend->Unplug();
    home().Redetect();
    const QImage notConnected = home().RenderPicture();
    EXPECT_TRUE(AllOf(notConnected, table, QColor(241, 248, 252)));
    EXPECT_EQ(notConnected.pixel(statePicture), Artwork::Bitmap(555).pixel(115, 20));
}

// A frame that is plugged in but refuses this user is not connected, and the page says how to fix it;
// every other state shows no such line.
TEST_F(HomePage, AFrameThisUserMayNotOpenGetsALineWithTheFix)
{
    const QRect hintLine(150, 192, 700, 24);
    const auto detect = [this] {
        GetDeviceChannel().CloseDeviceHandle();
        home().Redetect();
        return home().RenderPicture();
    };
    backend->SetAccessDenied(true);
    const QImage refused = detect();
    EXPECT_FALSE(home().connected());
    EXPECT_EQ(window->deviceConnected(), 0);
    EXPECT_TRUE(home().accessRefused());
    EXPECT_TRUE(HasInk(refused, hintLine));
    EXPECT_EQ(refused.pixel(390 + 115, 110 + 20), Artwork::Bitmap(555).pixel(115, 20));

    const struct {
        const char* state;
        void (*change)(SimulatedHidBackend&);
        bool connected;
    } others[] = {
        {"access granted", [](SimulatedHidBackend& b) { b.SetAccessDenied(false); }, true},
        {"unplugged", [](SimulatedHidBackend& b) { b.Unplug(); }, false},
        {"fails to open", [](SimulatedHidBackend& b) { b.Replug(); b.SetOpenFails(true); }, false},
    };
    for (const auto& c : others) {
        c.change(*backend);
        const QImage picture = detect();
        EXPECT_EQ(home().connected(), c.connected) << c.state;
        EXPECT_FALSE(home().accessRefused()) << c.state;
        EXPECT_FALSE(HasInk(picture, hintLine)) << c.state;
    }
}

// A notice source that speaks on a thread of its own, as a hot-plug monitor may.
class ThreadedNotices : public DeviceNoticeSource {
public:
    void SetHandler(Handler handler) override
    {
        std::lock_guard guard(lock_);
        handler_ = std::move(handler);
    }
    void SendFromAnotherThread(const DeviceNotice& notice)
    {
        std::thread([this, notice] {
            std::lock_guard guard(lock_);
            if (handler_)
                handler_(notice);
        }).join();
    }

private:
    std::mutex lock_;
    Handler handler_;
};

TEST(DeviceNotices, ReachTheHomePageOnTheUiThread)
{
    TestApplication();
    auto backend = std::make_shared<SimulatedHidBackend>();
    auto notices = std::make_shared<ThreadedNotices>();
    AppPlatform platform{[backend] { return PlatformWithoutThrottle(backend); }, [notices] { return notices; }};
    MainWindowRun run(platform);
    ASSERT_TRUE(run.window().homePage().connected());

    backend->Unplug();
    notices->SendFromAnotherThread(Arrival(SimulatedHidBackend::kUnrelatedPath));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !run.window().homePage().connected(); }, 5000));
    EXPECT_EQ(run.window().deviceConnected(), 0);
}

}  // namespace
}  // namespace zorvane::testing
