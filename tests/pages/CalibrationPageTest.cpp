// The calibration page on the simulated frame: its texts for every failure, the kind buttons, the file
// round trip through its buttons and dialogs, and its painting.

#include "LinkFixtures.h"
#include "PageControls.h"
#include "PixelProbes.h"
#include "TestApplication.h"

#include "calibration/CalibrationFile.h"
#include "calibration/CalibrationFileFormat.h"
#include "pages/CCal9ViewDlg.h"
#include "pages/CCalViewDlg.h"
#include "pages/CCalibrationDlg.h"
#include "widgets/CMybutton.h"

#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

namespace zorvane::testing {
namespace {

using Page = CCalibrationDlg;

std::filesystem::path TempPath(const std::string& name) { return std::filesystem::path(::testing::TempDir()) / name; }

QString ToQString(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

class CalibrationPageTest : public SimulatedLink {
protected:
    void SetUp() override
    {
        SimulatedLink::SetUp();
        TestApplication();
    }

    // The page as the advanced page creates it, its dialogs answering with the chosen paths.
    void Open()
    {
        page = std::make_unique<Page>();
        page->SetFileDialogs({
            [this](QWidget*, const QString& proposed) {
                proposedName = proposed;
                return ToQString(savePath);
            },
            [this](QWidget*) { return ToQString(openPath); },
        });
        page->OnInitDialog();
    }

    QString Text(int id) const { return ControlOf<QLabel>(*page, id).text(); }

    CMybutton& Button(int id) const { return ControlOf<CMybutton>(*page, id); }
    void Click(int id) { ClickControl(*page, id); }

    // Exports the frame's record as fetched and reads it back as the chosen file.
    void ExportAndBrowse(const std::string& name)
    {
        savePath = openPath = TempPath(name);
        Click(Page::kExportButton);
        Click(Page::kBrowseButton);
    }

    std::unique_ptr<Page> page;
    std::filesystem::path savePath = TempPath("export.cdat");
    std::filesystem::path openPath = TempPath("missing.cdat");
    QString proposedName;
};

TEST_F(CalibrationPageTest, StartShowsTheFramesKindAndDataWithItsButtonPinned)
{
    Open();
    EXPECT_EQ(Text(Page::kDeviceIdText), QStringLiteral("192-108"));
    EXPECT_EQ(Text(Page::kDeviceDataText), QStringLiteral("96-96-6EA-3A2"));
    EXPECT_EQ(Text(Page::kMessageText), QString());
    EXPECT_EQ(Text(Page::kFilePathText), QString());
    EXPECT_TRUE(Button(Page::kTwoPointButton).pinned());
    EXPECT_FALSE(Button(Page::kNinePointButton).pinned());

    Click(Page::kNinePointButton);
    EXPECT_EQ(Text(Page::kDeviceDataText), QStringLiteral("3C-21-744-417"));
    EXPECT_FALSE(Button(Page::kTwoPointButton).pinned());
    EXPECT_TRUE(Button(Page::kNinePointButton).pinned());
    EXPECT_EQ(State().calibration.kind, CalibrationKind::NinePoint);

    backend->Unplug();
    Click(Page::kTwoPointButton);
    EXPECT_EQ(Text(Page::kMessageText), QStringLiteral("请连接设备"));
    EXPECT_TRUE(Button(Page::kNinePointButton).pinned()) << "a refused selection changes no mark";
    EXPECT_EQ(page->model().kind(), 2);
}

// Each failure shows its text in the message line; the frame's failures also clear the device section.
TEST_F(CalibrationPageTest, EveryFailureShowsItsText)
{
    struct Case {
        const char* name;
        std::function<void()> before;  // after the page has started on the frame
        int button;
        const char* message;
        bool clearsDevice;
    };
    const auto unplug = [this] { backend->Unplug(); };
    const Case cases[] = {
        {"fetch", unplug, Page::kFetchButton, "获取校准数据失败", true},
        {"kind query", [this] {
             backend->Unplug();
             page->QueryKind();
         }, 0, "请连接设备", true},
        {"kind selection", unplug, Page::kNinePointButton, "请连接设备", true},
        {"fetch before calibrating", unplug, Page::kCalibrateButton, "请连接设备", true},
        {"export file cannot be created",
         [this] { savePath = TempPath("no-such-folder/export.cdat"); }, Page::kExportButton,
         "导出校准数据失败", false},
        {"file cannot be opened", {}, Page::kBrowseButton, "打开校准数据文件失败", false},
        {"import without a file", {}, Page::kImportButton, "请选择校准数据文件", false},
        {"import write fails",
         [this] {
             ExportAndBrowse("import-fails.cdat");
             backend->Unplug();
         },
         Page::kImportButton, "校准数据导入失败", false},
        {"reset", unplug, Page::kResetButton, "校准数据重置失败", false},
    };
    for (const Case& c : cases) {
        backend->Replug();
        savePath = TempPath("export.cdat");
        openPath = TempPath("missing.cdat");
        Open();
        if (c.before)
            c.before();
        if (c.button)
            Click(c.button);
        EXPECT_EQ(Text(Page::kMessageText), QString::fromUtf8(c.message)) << c.name;
        EXPECT_EQ(Text(Page::kDeviceDataText).isEmpty(), c.clearsDevice) << c.name;
        EXPECT_EQ(Text(Page::kDeviceIdText).isEmpty(), c.clearsDevice) << c.name;
    }
}

// Without a fetched two-point record there is nothing to export: the frame answered the kind but
// none of its record reads.
TEST_F(CalibrationPageTest, ExportBeforeAnyFetchAsksForOne)
{
    backend->WatchRequests([this](const Report& request) {
        if (request[1] == command_code::kCalibration && request[2] == 0x06)
            backend->FailAll(Fault::RefusedWrite());
    });
    Open();
    backend->WatchRequests({});
    backend->ClearFaults();
    ASSERT_EQ(page->model().kind(), 1);
    Click(Page::kExportButton);
    EXPECT_EQ(Text(Page::kMessageText), QStringLiteral("请先获取校准数据"));
    EXPECT_TRUE(proposedName.isEmpty()) << "no dialog";
}

TEST_F(CalibrationPageTest, AnExportedFileBrowsedAndImportedWritesTheFetchedValuesBack)
{
    Open();
    const TwoPointCalibration fetched = page->model().deviceRecord();
    ExportAndBrowse("round-trip.cdat");
    EXPECT_EQ(proposedName, QStringLiteral("Zorvane_192-108.cdat"));
    EXPECT_EQ(Text(Page::kFilePathText), ToQString(openPath));
    EXPECT_EQ(Text(Page::kFileIdText), QStringLiteral("192-108"));
    EXPECT_EQ(Text(Page::kFileDataText), QStringLiteral("96-96-6EA-3A2"));

    FrameState changed = State();
    changed.calibration.stored.twoPoint = {1, 2, 3, 2, 3, 4, 1, 4};
    changed.calibration.current = changed.calibration.stored;
    backend->frame().SetState(changed);
    Click(Page::kImportButton);

    EXPECT_EQ(Text(Page::kMessageText), QString());
    const auto& stored = State().calibration.stored.twoPoint;
    EXPECT_EQ(stored, (std::array<std::uint16_t, 8>{150, 150, 1770, 150, 1770, 930, 150, 930}));
    EXPECT_EQ(page->model().deviceRecord(), fetched);
}

TEST_F(CalibrationPageTest, ABadChecksumShowsItsValuesAndKeepsTheLastGoodFileImportable)
{
    Open();
    ExportAndBrowse("good.cdat");
    const TwoPointCalibration good = page->model().fileRecord();

    TwoPointCalibration other{0x111, 0x222, 0x333, 0x444};
    other.deviceId = {u'9', u'-', u'9'};
    CalibrationFileBytes bytes = EncodeCalibrationFile(other);
    bytes[4] ^= 1;  // the checksum
    openPath = TempPath("bad-checksum.cdat");
    std::ofstream(openPath, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    Click(Page::kBrowseButton);
    EXPECT_EQ(Text(Page::kMessageText), QStringLiteral("数据文件格式错误"));
    EXPECT_EQ(Text(Page::kFileDataText), QStringLiteral("111-222-333-444"));
    EXPECT_EQ(Text(Page::kFileIdText), QStringLiteral("9-9"));
    EXPECT_EQ(page->model().fileRecord(), good);

    openPath = TempPath("missing.cdat");
    Click(Page::kBrowseButton);
    EXPECT_EQ(Text(Page::kFileDataText), QStringLiteral("0-0-0-0"));
    EXPECT_EQ(Text(Page::kFileIdText), QString());

    FrameState changed = State();
    changed.calibration.current.twoPoint = {1, 2, 3, 2, 3, 4, 1, 4};
    backend->frame().SetState(changed);
    Click(Page::kImportButton);
    EXPECT_EQ(Text(Page::kDeviceDataText), QStringLiteral("96-96-6EA-3A2"));
}

TEST_F(CalibrationPageTest, WithTheNinePointKindTheFileButtonsDoNothing)
{
    FrameState nine = State();
    nine.calibration.kind = CalibrationKind::NinePoint;
    backend->frame().SetState(nine);
    Open();
    const std::size_t requests = backend->ReceivedRequests().size();
    for (int id : {Page::kExportButton, Page::kBrowseButton, Page::kImportButton})
        Click(id);
    EXPECT_EQ(backend->ReceivedRequests().size(), requests);
    EXPECT_TRUE(proposedName.isEmpty());
    EXPECT_EQ(Text(Page::kFilePathText), QString());
    EXPECT_EQ(Text(Page::kMessageText), QString());
}

// The calibrate button opens the target screen of the frame's kind; the screen closing refreshes the
// device section with what the frame holds then.
TEST_F(CalibrationPageTest, CalibrateOpensTheScreenOfTheKindAndItsEndRefreshesThePage)
{
    Open();
    Click(Page::kCalibrateButton);
    ASSERT_TRUE(page->twoPointScreen().isVisible());
    EXPECT_FALSE(page->ninePointScreen().isVisible());
    FrameState changed = State();
    changed.calibration.current.twoPoint = {0x10, 0x20, 0x700, 0x20, 0x700, 0x400, 0x10, 0x400};
    backend->frame().SetState(changed);
    page->twoPointScreen().Finish();
    EXPECT_FALSE(page->twoPointScreen().isVisible());
    EXPECT_EQ(Text(Page::kDeviceDataText), QStringLiteral("10-20-700-400"));

    Click(Page::kNinePointButton);
    Click(Page::kCalibrateButton);
    EXPECT_TRUE(page->ninePointScreen().isVisible());
    EXPECT_FALSE(page->twoPointScreen().isVisible());
    page->ninePointScreen().Finish();
    EXPECT_FALSE(page->ninePointScreen().isVisible());
}

TEST_F(CalibrationPageTest, ThePaintingHasItsBandSeparatorsAndTitles)
{
    Open();
    const QImage picture = page->RenderPicture();
    EXPECT_TRUE(AllOf(picture, {0, 0, Page::kPictureWidth, 82}, QColor(215, 231, 246)));
    const QColor separator(193, 213, 232);
    EXPECT_TRUE(AllOf(picture, {10, 260, 805, 1}, separator));
    EXPECT_TRUE(AllOf(picture, {10, 440, 805, 1}, separator));
    EXPECT_TRUE(AllOf(picture, {245, 330, 1, 91}, separator));
    EXPECT_TRUE(HasInk(picture, {40, 167, 130, 20}));
    EXPECT_TRUE(HasInk(picture, {40, 347, 130, 20}));
    EXPECT_TRUE(AllOf(picture, {500, 100, 100, 50}, QColor(241, 248, 252)));

    backend->Unplug();
    Click(Page::kFetchButton);
    page->resize(Page::kPictureWidth, Page::kPictureHeight);
    const QImage shown = page->grab().toImage();
    EXPECT_GT(TextPixels(shown, {39, 107, 645, 26}, QColor(240, 64, 30).rgb()), 40) << "the message in red";
}

}  // namespace
}  // namespace zorvane::testing
