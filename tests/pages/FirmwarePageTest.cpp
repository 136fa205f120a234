// The firmware page on the simulated frame: a whole update through its buttons, the texts of every
// failure, the dropped-file rule, the automatic restarts, and the page going while its worker runs.

#include "ImageFile.h"
#include "LinkFixtures.h"
#include "PageControls.h"
#include "TestApplication.h"

#include "pages/CUpdateFirmDlg.h"
#include "protocol/DeviceProtocol.h"
#include "protocol/FirmwareUpdater.h"
#include "sim/FirmwareImages.h"
#include "widgets/CMybutton.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

namespace zorvane::testing {
namespace {

using namespace std::chrono_literals;
using Page = CUpdateFirmDlg;

constexpr auto kGenerous = 30s;  // long enough never to decide a passing test
constexpr std::uint16_t kNewVersion = 0x0320;
const QString kComplete = QStringLiteral("固件更新完成  . . .");
const QString kConnectionError = QStringLiteral("设备连接异常, 请重试。");

QString ToQString(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

bool WaitFor(const std::function<bool()>& condition)
{
    return QTest::qWaitFor(condition, static_cast<int>(std::chrono::milliseconds(kGenerous).count()));
}

class FirmwarePageTest : public SimulatedLink {
protected:
    void SetUp() override
    {
        SimulatedLink::SetUp();
        TestApplication();
        backend->SetReenumerationDelay(50ms);
    }

    // The page as the advanced page creates it, its dialog answering with `chosen`.
    void Open()
    {
        page = std::make_unique<Page>();
        page->SetOpenDialog([this](QWidget*) { return chosen; });
        page->SetHomeRequest([this] { ++homeRequests; });
        page->OnInitDialog();
    }

    QString Text(int id) const { return ControlOf<QLabel>(*page, id).text(); }
    bool Red(int id) const
    {
        return ControlOf<QLabel>(*page, id).palette().color(QPalette::WindowText) == QColor(240, 64, 30);
    }

    CMybutton& Button(int id) const { return ControlOf<CMybutton>(*page, id); }
    void Click(int id) { ClickControl(*page, id); }

    // Browses to `file` and starts.
    void StartWith(const ImageFile& file)
    {
        chosen = ToQString(file.path());
        Click(Page::kBrowseButton);
        Click(Page::kStartButton);
    }

    bool WaitForTransferToReach(float percent)
    {
        return WaitFor([&] { return GetFirmwareUpdater().progress.load() >= percent; });
    }

    std::unique_ptr<Page> page;
    QString chosen;
    int homeRequests = 0;
};

TEST_F(FirmwarePageTest, WholeUpdateBringsTheNewFirmwareAndJumpsHome)
{
    Open();
    const ImageFile file(ImageForFrame(State(), kNewVersion));
    Click(Page::kAutoJumpButton);
    EXPECT_TRUE(page->autoJump());
    EXPECT_FALSE(Button(Page::kAutoJumpButton).isEnabled()) << "the setting stays for the whole run";

    StartWith(file);
    EXPECT_EQ(Text(Page::kPathText), ToQString(file.path()));
    EXPECT_TRUE(page->searchTimerActive());
    ASSERT_TRUE(WaitFor([&] { return Text(Page::kResultText) == kComplete && !page->progressTimerActive(); }));

    EXPECT_EQ(Text(Page::kDetectText), QStringLiteral("检测设备  . . ."));
    EXPECT_EQ(Text(Page::kVersionText), QStringLiteral("设备连接成功, BOOTLOAD版本号:0x1606  . . ."));
    EXPECT_EQ(Text(Page::kMatchText), QStringLiteral("固件匹配成功  . . ."));
    EXPECT_EQ(Text(Page::kTransferText), QStringLiteral("正在更新固件到设备  . . ."));
    EXPECT_FALSE(Red(Page::kDetectText) || Red(Page::kMatchText) || Red(Page::kResultText));
    EXPECT_EQ(page->shownProgress(), 100.0f);
    EXPECT_FALSE(page->searchTimerActive());
    EXPECT_TRUE(Button(Page::kStartButton).isEnabled());
    EXPECT_TRUE(Button(Page::kStopButton).isEnabled());
    const QImage picture = page->RenderPicture();
    EXPECT_EQ(picture.pixelColor(30, 262), QColor(25, 134, 199));
    EXPECT_EQ(picture.pixelColor(605, 262), QColor(25, 134, 199)) << "the bar is full";
    EXPECT_TRUE(WaitFor([&] { return homeRequests == 1; }));

    Click(Page::kStopButton);
    EXPECT_EQ(Text(Page::kResultText), kComplete) << "Stop after the bootloader answered does nothing";

    DeviceInfo after;
    ASSERT_TRUE(WaitFor([&] { return QueryDeviceInfo(GetDeviceProtocol(), after) == link_status::kOk; }));
    EXPECT_EQ(after.firmwareVersionText, "0320");
}

// Each image fault found after the bootloader answered has its red text, and nothing is sent.
TEST_F(FirmwarePageTest, EveryImageFaultShowsItsText)
{
    ImageLayout foreign;
    foreign.fileSize = 0x20000;
    foreign.sizes = AcceptedSizesFor(0x1606);
    foreign.payload.assign(1000, 0x42);
    foreign.targetBytes.fill(0x77);  // names another frame
    struct Case {
        const char* name;
        std::vector<std::uint8_t> image;
        bool removedBeforeTheCheck;
        const char* text;
    };
    const Case cases[] = {
        {"unreadable", ImageForFrame(State(), kNewVersion), true, "打开固件文件失败  . . ."},
        {"wrong size", std::vector<std::uint8_t>(100, 0), false, "固件文件格式错误  . . ."},
        {"for another frame", LayOutImage(foreign), false, "固件与设备匹配错误  . . ."},
    };
    Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto file = std::make_unique<ImageFile>(c.image);
        StartWith(*file);
        if (c.removedBeforeTheCheck)
            std::filesystem::remove(file->path());
        ASSERT_TRUE(WaitFor([&] { return !page->searchTimerActive(); }));
        EXPECT_EQ(Text(Page::kMatchText), QString::fromUtf8(c.text));
        EXPECT_TRUE(Red(Page::kMatchText));
        EXPECT_EQ(Text(Page::kTransferText), QString());
        EXPECT_FALSE(page->transferRunning());
        EXPECT_TRUE(Button(Page::kStartButton).isEnabled());
        EXPECT_FALSE(State().bootloader.transfer) << "no transfer was begun";
    }
}

TEST_F(FirmwarePageTest, StartWithoutAFileAsksForOne)
{
    Open();
    chosen = QStringLiteral("/no/such/image.bin");
    Click(Page::kBrowseButton);
    Click(Page::kStartButton);
    EXPECT_EQ(Text(Page::kDetectText), QStringLiteral("固件文件不存在, 请重新选择。"));
    EXPECT_TRUE(Red(Page::kDetectText));
    EXPECT_FALSE(page->searchTimerActive());

    chosen.clear();  // cancelled: the path stays
    Click(Page::kBrowseButton);
    EXPECT_EQ(Text(Page::kPathText), QStringLiteral("/no/such/image.bin"));
}

TEST_F(FirmwarePageTest, DroppedFileIsTakenWhenBinOccursPastItsFirstTwoCharacters)
{
    struct Case {
        const char* path;
        bool taken;
    };
    const Case cases[] = {
        {"/images/frame.bin", true},  {"/images/frame.bin.txt", true}, {"/images/frame.BIN", false},
        {"/images/frame.txt", false}, {"a.bin", false},                 {"ab.bin", true},
    };
    Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        page->DropFile(QStringLiteral("/before"));  // not taken: the line keeps what it had
        page->DropFile(QStringLiteral("/previous.bin"));
        page->DropFile(QString::fromUtf8(c.path));
        EXPECT_EQ(Text(Page::kPathText), c.taken ? QString::fromUtf8(c.path) : QStringLiteral("/previous.bin"));
    }

    // A drop on the page itself goes the same way; only the first file counts.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/dropped/first.bin")),
                  QUrl::fromLocalFile(QStringLiteral("/dropped/second.bin"))});
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(page.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(page.get(), &drop);
    EXPECT_EQ(Text(Page::kPathText), QStringLiteral("/dropped/first.bin"));
}

TEST_F(FirmwarePageTest, SearchWithoutABootloaderAnimatesItsDotsUntilStopped)
{
    Open();
    const ImageFile file(ImageForFrame(State(), kNewVersion));
    backend->Unplug();
    StartWith(file);
    const char* const lines[] = {"检测设备  .", "检测设备  . .", "检测设备  . . .", "检测设备", "检测设备  ."};
    for (const char* line : lines) {
        page->SearchTick();
        EXPECT_EQ(Text(Page::kDetectText), QString::fromUtf8(line));
    }
    EXPECT_TRUE(page->searchTimerActive());
    Click(Page::kStopButton);
    EXPECT_FALSE(page->searchTimerActive());
    EXPECT_EQ(Text(Page::kDetectText), QString());
}

TEST_F(FirmwarePageTest, VersionLineShowsFourHexDigitsPaddedWithSpaces)
{
    const std::pair<std::uint16_t, const char*> cases[] = {
        {0x1305, "设备连接成功, BOOTLOAD版本号:0x1305  . . ."},
        {0x0101, "设备连接成功, BOOTLOAD版本号:0x 101  . . ."},
    };
    Open();
    for (const auto& [version, line] : cases) {
        SCOPED_TRACE(line);
        FrameState state = State();
        state.bootloader.versionNumber = version;
        backend->frame().SetState(state);
        const ImageFile file(std::vector<std::uint8_t>(100, 0));  // refused by its size: nothing is sent
        StartWith(file);
        ASSERT_TRUE(WaitFor([&] { return !page->searchTimerActive(); }));
        EXPECT_EQ(Text(Page::kVersionText), QString::fromUtf8(line));
        backend->Unplug();  // the next case's bootloader is opened afresh, with its version
        backend->Replug();
    }
}

// The unplug fails the transfer; the page says so and searches again, and finishes once the frame is back.
TEST_F(FirmwarePageTest, UnplugDuringTheTransferRestartsTheUpdate)
{
    backend->SetReplyLatency(1ms);  // so that the transfer is still running when the cable goes
    Open();
    const ImageFile file(ImageForFrame(State(), kNewVersion));
    StartWith(file);
    ASSERT_TRUE(WaitForTransferToReach(5.0f));
    EXPECT_FALSE(Button(Page::kStartButton).isEnabled());
    EXPECT_FALSE(Button(Page::kStopButton).isEnabled());
    backend->Unplug();

    ASSERT_TRUE(WaitFor([&] { return page->retryCount() == 1; }));
    EXPECT_EQ(Text(Page::kResultText), kConnectionError);
    EXPECT_TRUE(Red(Page::kResultText));
    EXPECT_TRUE(page->searchTimerActive());
    EXPECT_FALSE(page->progressTimerActive());
    EXPECT_TRUE(Button(Page::kStartButton).isEnabled());

    backend->Replug();  // the frame comes back in its bootloader
    ASSERT_TRUE(WaitFor([&] { return Text(Page::kResultText) == kComplete; }));
    EXPECT_EQ(page->retryCount(), 0);
    DeviceInfo after;
    ASSERT_TRUE(WaitFor([&] { return QueryDeviceInfo(GetDeviceProtocol(), after) == link_status::kOk; }));
    EXPECT_EQ(after.firmwareVersionText, "0320");
}

// An image replaced after its check is not flashed: the transfer fails as a broken one does, and the
// restart checks and flashes the file as it now is.
TEST_F(FirmwarePageTest, ImageReplacedAfterItsCheckIsCheckedAgainBeforeItIsFlashed)
{
    constexpr std::uint16_t kReplacementVersion = 0x0330;
    Open();
    const ImageFile file(ImageForFrame(State(), kNewVersion));
    const auto replacement = ImageForFrame(State(), kReplacementVersion);
    std::atomic<bool> replaced{false};
    backend->WatchRequests([&](const Report& request) {
        if (request[0] == 0xFB && request[2] == 0x01 && !replaced.exchange(true))  // the check's begin
            file.Write(replacement);
    });
    StartWith(file);
    ASSERT_TRUE(WaitFor([&] { return page->retryCount() == 1; }));
    EXPECT_EQ(Text(Page::kResultText), kConnectionError);

    ASSERT_TRUE(WaitFor([&] { return Text(Page::kResultText) == kComplete; }));
    DeviceInfo after;
    ASSERT_TRUE(WaitFor([&] { return QueryDeviceInfo(GetDeviceProtocol(), after) == link_status::kOk; }));
    EXPECT_EQ(after.firmwareVersionText, "0330");
}

TEST_F(FirmwarePageTest, SixFailedTransfersInARowRestartFiveTimesThenStayIdle)
{
    std::atomic<int> transfers{0};
    backend->WatchRequests([&](const Report& request) {
        // The write after the fifth data packet of every transfer is refused.
        if (request[0] == 0xFB && request[2] == 0x02 && request[5] == 5) {
            ++transfers;
            backend->FailNext(Fault::RefusedWrite());
        }
    });
    Open();
    const ImageFile file(ImageForFrame(State(), kNewVersion));
    StartWith(file);
    ASSERT_TRUE(WaitFor([&] { return transfers == 6 && page->retryCount() == 0 && !page->transferRunning(); }));
    EXPECT_EQ(Text(Page::kResultText), kConnectionError);
    EXPECT_FALSE(page->searchTimerActive());
    EXPECT_FALSE(page->progressTimerActive());
    EXPECT_TRUE(Button(Page::kStartButton).isEnabled());
}

TEST_F(FirmwarePageTest, PageGoingDuringTheTransferStopsTheWorkerAfterItsPacket)
{
    backend->SetReplyLatency(1ms);
    Open();
    const ImageFile file(ImageForFrame(State(), kNewVersion));
    StartWith(file);
    ASSERT_TRUE(WaitForTransferToReach(5.0f));
    page.reset();
    QCoreApplication::processEvents();  // a result queued for the page must not reach it

    const auto transfer = State().bootloader.transfer;
    ASSERT_TRUE(transfer);
    const std::size_t packets = (0x20000 - 0x100 + 55) / 56;
    EXPECT_LT(transfer->packets, packets) << "the transfer ended with the page";
}

}  // namespace
}  // namespace zorvane::testing
