#include "demo/ScreenshotTour.h"

#include "app/CAboutDlg.h"
#include "app/MainWindowRun.h"
#include "calibration/CalibrationFile.h"
#include "calibration/CalibrationFileFormat.h"
#include "pages/CAdvancecdDlg.h"
#include "pages/CCal9ViewDlg.h"
#include "pages/CCalViewDlg.h"
#include "pages/CCalibrationDlg.h"
#include "pages/CDrawSetupDlg.h"
#include "pages/CPenTestDlg.h"
#include "pages/CSimulationDlg.h"
#include "pages/CSaveCaldataDlg.h"
#include "pages/CUpdateFirmDlg.h"
#include "pages/CColumnNormalDlg.h"
#include "pages/CColumnZoomDlg.h"
#include "pages/CDrawDlg.h"
#include "pages/ColumnSelectDlg.h"
#include "signal/CursorMode.h"
#include "signal/ScanSelection.h"
#include "sim/FirmwareImages.h"
#include "widgets/Palette.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QTemporaryDir>

#include <array>
#include <chrono>
#include <cmath>
#include <fstream>
#include <functional>
#include <optional>
#include <vector>

namespace zorvane {
namespace {

// A clock that runs 4 s ahead at every look, so the link's rescan throttle never turns a re-plug into a
// failed detection during the tour.
AppPlatform WithoutRescanThrottle(const AppPlatform& platform)
{
    AppPlatform tour = platform;
    tour.link = [link = platform.link] {
        LinkPlatform linkPlatform = link();
        linkPlatform.now = [ahead = std::chrono::steady_clock::duration{}]() mutable {
            return std::chrono::steady_clock::now() + (ahead += std::chrono::seconds(4));
        };
        return linkPlatform;
    };
    return tour;
}

void HoverOver(CMybutton& button)
{
    const QPointF centre = QRectF(button.rect()).center();
    QMouseEvent move(QEvent::MouseMove, centre, button.mapToGlobal(centre), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&button, &move);
}

// Runs the event loop until `done` holds (or a while has passed), then one more moment, so that the
// chart workers have composed a frame of what `done` waited for.
void Settle(const std::function<bool()>& done)
{
    using namespace std::chrono_literals;
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!done() && std::chrono::steady_clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    for (const auto after = std::chrono::steady_clock::now() + 150ms; std::chrono::steady_clock::now() < after;)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

CColumnNormalDlg& ChartView(CZorvaneTestDlg& window)
{
    return dynamic_cast<CColumnNormalDlg&>(window.page(CZorvaneTestDlg::Slot::ChartView));
}

ColumnSelectDlg& SelectionPanel(CZorvaneTestDlg& window)
{
    return dynamic_cast<ColumnSelectDlg&>(window.page(CZorvaneTestDlg::Slot::SelectionPanel));
}

// Acquisition on the chart page, started from the panel unless it runs, until the chart holds `enough`.
void AcquireUntil(CZorvaneTestDlg& window, const std::function<bool(const ScanData&)>& enough)
{
    if (!SelectionPanel(window).running())
        SelectionPanel(window).OnStart();
    ScanChart& chart = ChartView(window).chart();
    Settle([&] { return enough(chart.data()); });
}

void ClickPanelControl(CZorvaneTestDlg& window, int id)
{
    SelectionPanel(window).findChild<QAbstractButton*>(QStringLiteral("id%1").arg(id))->click();
}

// The cursor mode on and the mouse over a column of the chart view.
void PointAtColumn(CZorvaneTestDlg& window, QPoint column)
{
    CColumnNormalDlg& view = ChartView(window);
    if (!cursorMode())
        view.chart().ToggleCursorMode();
    QMouseEvent move(QEvent::MouseMove, column, view.mapToGlobal(column), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &move);
    Settle([&] { return view.chart().cursor().index != 0; });
}

// The frame reporting another firmware version, and acquisition started afresh on it.
void RestartOnFirmware(CZorvaneTestDlg& window, SimulatedHidBackend& frame, std::uint16_t version)
{
    ColumnSelectDlg& panel = SelectionPanel(window);
    panel.OnStop();
    if (cursorMode())
        ChartView(window).chart().ToggleCursorMode();
    FrameState state = frame.frame().state();
    state.identity.firmwareVersion = version;
    frame.frame().SetState(state);
    ScanChart& chart = ChartView(window).chart();
    chart.Publish({});
    AcquireUntil(window, [](const ScanData& d) { return !d.xValue.empty() && !d.xPower.empty(); });
}

CAdvancecdDlg& AdvancedPage(CZorvaneTestDlg& window)
{
    return dynamic_cast<CAdvancecdDlg&>(window.page(CZorvaneTestDlg::Slot::Advanced));
}

CCalibrationDlg& CalibrationPage(CZorvaneTestDlg& window) { return AdvancedPage(window).calibrationPage(); }

// A pen-tray report from the frame, shown once the page's timer has taken it.
void ReportPenTray(CZorvaneTestDlg& window, SimulatedHidBackend& frame, const std::array<std::uint8_t, 6>& slots)
{
    const auto& page = dynamic_cast<const CPenTestDlg&>(window.page(CZorvaneTestDlg::Slot::PenTest));
    const auto before = page.slotBitmaps();
    frame.SendPenTray(slots);
    Settle([&] { return page.slotBitmaps() != before; });
}

void ClickCalibrationButton(CZorvaneTestDlg& window, int id)
{
    CalibrationPage(window).findChild<QAbstractButton*>(QStringLiteral("id%1").arg(id))->click();
}

// The calibration page's file dialogs answer with whatever path the tour sets in `chosen`.
void ChooseFilesFrom(CCalibrationDlg& page, const QString& chosen)
{
    page.SetFileDialogs({[&chosen](QWidget*, const QString&) { return chosen; }, [&chosen](QWidget*) { return chosen; }});
}

template <typename Bytes>
QString WriteFile(const QString& path, const Bytes& bytes)
{
    std::ofstream(path.toStdString(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

// A calibration data file whose checksum does not match its record.
QString WriteBadFile(const QString& path)
{
    TwoPointCalibration record{0x9A, 0x88, 0x6F0, 0x3A0};
    record.deviceId = {u'1', u'9', u'2', u'-', u'1', u'0', u'8'};
    CalibrationFileBytes bytes = EncodeCalibrationFile(record);
    bytes[4] ^= 0x10;
    return WriteFile(path, bytes);
}

// A mouse press held on a target screen: in the demo, a finger resting on the frame there.
void HoldPress(QWidget& screen, QPoint at)
{
    QMouseEvent press(QEvent::MouseButtonPress, at, screen.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&screen, &press);
}

// The target screen of the page's kind, started from the calibrate button with a finger resting a
// little off `target`.
void StartTargetScreen(CTargetViewBaseDlg& screen, CZorvaneTestDlg& window, QPoint target)
{
    ClickCalibrationButton(window, CCalibrationDlg::kCalibrateButton);
    HoldPress(screen, target + QPoint(6, 4));
    QCoreApplication::processEvents();
}

using Keep = std::function<void(QWidget&, const char*)>;

QString FirmwareText(CUpdateFirmDlg& page, int id)
{
    return page.findChild<QLabel*>(QStringLiteral("id%1").arg(id))->text();
}

// Chooses `image` with the page's dialog and starts; the image is removed again at once when `vanishes`,
// before the bootloader has answered.
void StartFirmwareUpdate(CUpdateFirmDlg& page, const QString& image, bool vanishes = false)
{
    page.SetOpenDialog([image](QWidget*) { return image; });
    page.BrowseImage();
    page.StartUpdate();
    if (vanishes)
        QFile::remove(image);
}

// An image the simulated frame's bootloader takes, but made for another frame.
std::vector<std::uint8_t> ImageForAnotherFrame(const FrameState& state)
{
    ImageLayout layout;
    layout.fileSize = ImageForFrame(state, 0x0320).size();
    layout.sizes = AcceptedSizesFor(state.bootloader.versionNumber);
    layout.payload.assign(1000, 0x42);
    layout.targetBytes.fill(0x77);
    return LayOutImage(layout);
}

// The firmware page through a whole update: idle, asking for a file, each image fault, searching for
// the bootloader, the transfer, a lost connection and its restart, and done.
void KeepFirmwareShots(CZorvaneTestDlg& window, SimulatedHidBackend& frame, const QDir& files, const Keep& keep)
{
    using namespace std::chrono_literals;
    window.ShowPage(CZorvaneTestDlg::kAdvancedPage);
    AdvancedPage(window).ShowSubPage(CAdvancecdDlg::kFirmwarePage);
    CUpdateFirmDlg& page = AdvancedPage(window).firmwarePage();
    const auto idle = [&page] { return !page.searchTimerActive() && !page.transferRunning(); };
    keep(window, "34-firmware-idle");
    page.StartUpdate();
    keep(window, "32-firmware-file-missing");

    const FrameState state = frame.frame().state();
    const QString image = WriteFile(files.filePath(QStringLiteral("ZV-IR65T.bin")), ImageForFrame(state, 0x0320));
    const struct {
        const char* name;
        QString file;
        bool vanishes;
    } faults[] = {
        {"36-firmware-open-failed", WriteFile(files.filePath(QStringLiteral("gone.bin")), ImageForFrame(state, 0x0320)), true},
        {"37-firmware-format-error", WriteFile(files.filePath(QStringLiteral("short.bin")), std::vector<std::uint8_t>(100)), false},
        {"38-firmware-mismatch", WriteFile(files.filePath(QStringLiteral("other-frame.bin")), ImageForAnotherFrame(state)), false},
    };
    for (const auto& fault : faults) {
        StartFirmwareUpdate(page, fault.file, fault.vanishes);
        Settle(idle);
        keep(window, fault.name);
    }

    frame.Unplug();
    StartFirmwareUpdate(page, image);
    Settle([&] { return FirmwareText(page, CUpdateFirmDlg::kDetectText) == QStringLiteral("检测设备  . ."); });
    keep(window, "35-firmware-detecting");

    frame.SetReplyLatency(1ms);  // a transfer slow enough to be seen under way
    frame.Replug();
    Settle([&] { return page.shownProgress() >= 40.0f; });
    keep(window, "39-firmware-transferring");
    frame.Unplug();
    Settle([&] { return page.retryCount() == 1; });
    keep(window, "39-firmware-connection-lost");

    frame.SetReplyLatency(0ms);
    frame.Replug();
    Settle([&] { return idle() && page.shownProgress() == 100.0f; });
    keep(window, "33-firmware-update-done");
}

void PressKey(QWidget& window, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &press);
}

// Two fingers on the drawing test: one draws a wave and lifts, the other a loop and stays down.
void DrawTwoFingers(CDrawDlg& drawing)
{
    const QSize size = drawing.size();
    const auto wave = [&](int step) {
        return QPoint(size.width() * (5 + step) / 100,
                      static_cast<int>(size.height() * (0.3 + 0.12 * std::sin(step / 9.0))));
    };
    const auto loop = [&](int step) {
        const double angle = step / 12.0;
        return QPoint(static_cast<int>(size.width() * (0.55 + 0.18 * std::cos(angle) + step / 900.0)),
                      static_cast<int>(size.height() * (0.68 + 0.18 * std::sin(angle))));
    };
    drawing.OnTouchInput(1, wave(0), touch_flag::kDown);
    drawing.OnTouchInput(2, loop(0), touch_flag::kDown);
    for (int step = 1; step <= 90; ++step) {
        drawing.OnTouchInput(1, wave(step), step < 90 ? touch_flag::kMove : touch_flag::kUp);
        drawing.OnTouchInput(2, loop(step), touch_flag::kMove);
    }
}

// Until the drawing test shows `colour` at `at`.
void SettleDrawing(CDrawDlg& drawing, QPoint at, const QColor& colour)
{
    Settle([&] {
        const QImage frame = drawing.ShownFrame();
        return !frame.isNull() && frame.pixelColor(at) == colour;
    });
}

struct Shot {
    const char* name;
    std::function<void(CZorvaneTestDlg&)> setUp;
};

// The drawing test as the panel opens it, shown instead of run, with two fingers drawn; then with the
// grid and another pen chosen in its setup; then in dot mode.
void RunDrawingShots(CZorvaneTestDlg& window, const Keep& keep)
{
    CDrawDlg drawing({.lineWidth = 3, .gridOn = 0, .gridSpacing = 20, .penColour = palette::kRed}, &window);
    drawing.SetDrawSetup([](QWidget*, DrawSettings settings) {
        settings.gridOn = 1;
        settings.gridSpacing = 40;
        settings.penColour = palette::kBlue;
        return std::optional<DrawSettings>(settings);
    });
    drawing.OnInitDialog();
    drawing.show();
    DrawTwoFingers(drawing);
    const QPoint onTheWave(drawing.width() * 5 / 100, drawing.height() * 3 / 10);
    SettleDrawing(drawing, onTheWave, palette::kRed);
    keep(drawing, "45-draw-two-fingers");
    PressKey(drawing, Qt::Key_X);
    SettleDrawing(drawing, onTheWave, palette::kBlue);
    keep(drawing, "46-draw-grid");
    PressKey(drawing, Qt::Key_Z);
    SettleDrawing(drawing, onTheWave + QPoint(2, 2), palette::kBlue);
    keep(drawing, "47-draw-dots");
    PressKey(drawing, Qt::Key_Z);  // dot mode is kept for the process
    PressKey(drawing, Qt::Key_Escape);
}

}  // namespace

QStringList WriteScreenshotTour(const QString& folder, const AppPlatform& platform, SimulatedHidBackend& frame)
{
    QStringList written;
    if (!QDir().mkpath(folder))
        return written;
    const QDir target(folder);
    MainWindowRun run(WithoutRescanThrottle(platform));
    CZorvaneTestDlg& window = run.window();
    window.move(0, 0);
    window.show();
    QCursor::setPos(-100, -100);  // nowhere near a button: no hover picture unless a shot asks for one

    const FrameState::Settings deliveredSettings = frame.frame().state().settings;
    QTemporaryDir files;
    QString chosen;  // what the calibration page's file dialogs answer
    ChooseFilesFrom(CalibrationPage(window), chosen);
    const auto calibration = [&](int button) {
        return [button](CZorvaneTestDlg& w) { ClickCalibrationButton(w, button); };
    };
    const auto choose = [&](const QString& path, int button) {
        return [&chosen, path, button](CZorvaneTestDlg& w) {
            chosen = path;
            ClickCalibrationButton(w, button);
        };
    };
    const auto unplugged = [&](int button) {
        return [&frame, button](CZorvaneTestDlg& w) {
            frame.Unplug();
            ClickCalibrationButton(w, button);
        };
    };

    const std::vector<Shot> shots{
        {"01-home-connected", [](CZorvaneTestDlg&) {}},
        {"02-home-redetect-hover", [](CZorvaneTestDlg& w) { HoverOver(w.homePage().redetectButton()); }},
        {"03-column-charts-idle", [](CZorvaneTestDlg& w) { w.ShowPage(CZorvaneTestDlg::kColumnCharts); }},
        {"04-column-charts-value-power",
         [](CZorvaneTestDlg& w) { AcquireUntil(w, [](const ScanData& d) { return !d.xPower.empty(); }); }},
        {"05-column-charts-cursor-x",
         [](CZorvaneTestDlg& w) {
             ClickPanelControl(w, ColumnSelectDlg::kPowerBox);  // Value alone: the weak receivers show red
             PointAtColumn(w, QPoint(4 * 59 + 3, 200));
         }},
        {"06-column-charts-cursor-y", [](CZorvaneTestDlg& w) { PointAtColumn(w, QPoint(4 * 29 + 3, 470)); }},
        {"07-column-charts-all-series",
         [](CZorvaneTestDlg& w) {
             ChartView(w).chart().ToggleCursorMode();
             ClickPanelControl(w, ColumnSelectDlg::kPowerBox);
             ClickPanelControl(w, ColumnSelectDlg::kFluctuationBox);
             SetScanSelection({ScanDirection::Middle, true, true, true, true});  // Standard's box is hidden
             AcquireUntil(w, [](const ScanData& d) { return !d.xFluctuation.empty() && !d.xStandard.empty(); });
         }},
        {"08-column-charts-scale-set-b", [&frame](CZorvaneTestDlg& w) { RestartOnFirmware(w, frame, 0x4100); }},
        {"09-pen-test",
         [&frame](CZorvaneTestDlg& w) {
             RestartOnFirmware(w, frame, 0x0316);
             w.ShowPage(CZorvaneTestDlg::kPenTestPage);
         }},
        {"42-pen-tray-empty", [](CZorvaneTestDlg&) {}},
        {"43-pen-tray-report", [&frame](CZorvaneTestDlg& w) { ReportPenTray(w, frame, {1, 0, 1, 0, 2, 255}); }},
        {"10-advanced", [](CZorvaneTestDlg& w) { w.ShowPage(CZorvaneTestDlg::kAdvancedPage); }},
        {"11-home-not-connected",
         [&frame](CZorvaneTestDlg& w) {
             frame.Unplug();
             w.ShowPage(CZorvaneTestDlg::kHomePage);
         }},
        {"12-home-replugged",
         [&frame](CZorvaneTestDlg& w) {
             frame.Replug();
             w.homePage().Redetect();
         }},
        {"13-home-access-refused",
         [&frame](CZorvaneTestDlg& w) {
             frame.SetAccessDenied(true);
             GetDeviceChannel().CloseDeviceHandle();
             w.homePage().Redetect();
             frame.SetAccessDenied(false);
         }},
        {"16-advanced-calibration",
         [&frame](CZorvaneTestDlg& w) {
             frame.Replug();
             w.ShowPage(CZorvaneTestDlg::kAdvancedPage);
             AdvancedPage(w).button(CAdvancecdDlg::kCalibrationPage).click();
         }},
        {"17-calibration-choose-file", calibration(CCalibrationDlg::kImportButton)},
        {"18-calibration-nine-point", calibration(CCalibrationDlg::kNinePointButton)},
        {"19-calibration-file-loaded",
         [&, exported = files.filePath(QStringLiteral("Zorvane_192-108.cdat"))](CZorvaneTestDlg& w) {
             ClickCalibrationButton(w, CCalibrationDlg::kTwoPointButton);
             choose(exported, CCalibrationDlg::kExportButton)(w);
             ClickCalibrationButton(w, CCalibrationDlg::kBrowseButton);
         }},
        {"20-calibration-bad-file",
         choose(WriteBadFile(files.filePath(QStringLiteral("damaged.cdat"))), CCalibrationDlg::kBrowseButton)},
        {"21-calibration-file-missing",
         choose(files.filePath(QStringLiteral("missing.cdat")), CCalibrationDlg::kBrowseButton)},
        {"22-calibration-export-failed",
         choose(files.filePath(QStringLiteral("no-folder/out.cdat")), CCalibrationDlg::kExportButton)},
        {"23-calibration-fetch-failed", unplugged(CCalibrationDlg::kFetchButton)},
        {"24-calibration-connect-device", unplugged(CCalibrationDlg::kTwoPointButton)},
        {"25-calibration-import-failed", unplugged(CCalibrationDlg::kImportButton)},
        {"26-calibration-reset-failed", unplugged(CCalibrationDlg::kResetButton)},
        {"40-device-setup",
         [&frame](CZorvaneTestDlg& w) {
             frame.Replug();
             FrameState state = frame.frame().state();
             state.settings.rotation = 1;
             state.settings.reversed = 1;
             state.settings.touchMode = touch_mode::kTouch;
             frame.frame().SetState(state);
             AdvancedPage(w).button(CAdvancecdDlg::kSetupPage).click();
         }},
        {"41-device-setup-unplugged",
         [&frame](CZorvaneTestDlg& w) {
             frame.Unplug();
             AdvancedPage(w).button(CAdvancecdDlg::kSetupPage).click();
         }},
    };
    for (const Shot& shot : shots) {
        shot.setUp(window);
        QCoreApplication::processEvents();
        const QString file = target.filePath(QLatin1String(shot.name) + QStringLiteral(".png"));
        if (window.grab().save(file))
            written << file;
    }

    const auto keep = [&](QWidget& shown, const char* name) {
        const QString file = target.filePath(QLatin1String(name) + QStringLiteral(".png"));
        if (shown.grab().save(file))
            written << file;
    };
    // The setup shots changed the frame's settings and left it unplugged; the target screens below
    // expect it as delivered.
    frame.Replug();
    FrameState delivered = frame.frame().state();
    delivered.settings = deliveredSettings;
    frame.frame().SetState(delivered);
    CDrawSetupDlg drawSetup(DrawSettings{.lineWidth = 4, .gridOn = 1, .gridSpacing = 30, .penColour = palette::kGreen},
                            &window);
    drawSetup.show();
    QCoreApplication::processEvents();
    keep(drawSetup, "48-draw-setup");
    drawSetup.close();

    // A frame that answers the kind but none of its record reads leaves nothing to export.
    frame.WatchRequests([&frame](const Report& request) {
        if (request[1] == command_code::kCalibration && request[2] == 0x06)
            frame.FailAll(Fault::RefusedWrite());
    });
    CCalibrationDlg unfetched;
    unfetched.resize(826, 584);
    unfetched.OnInitDialog();
    frame.WatchRequests({});
    frame.ClearFaults();
    unfetched.findChild<QAbstractButton*>(QStringLiteral("id%1").arg(CCalibrationDlg::kExportButton))->click();
    keep(unfetched, "28-calibration-fetch-first");

    window.ShowPage(CZorvaneTestDlg::kAdvancedPage);
    AdvancedPage(window).button(CAdvancecdDlg::kCalibrationPage).click();
    CCalibrationDlg& calibrationPage = CalibrationPage(window);
    CCalViewDlg& twoPoint = calibrationPage.twoPointScreen();
    StartTargetScreen(twoPoint, window, {150, 150});
    while (twoPoint.ringCount() != 3)
        twoPoint.AdvanceAnimation();
    keep(twoPoint, "29-two-point-screen");
    twoPoint.Finish();
    // The marker blinks: it shows on every second paint.
    ClickCalibrationButton(window, CCalibrationDlg::kNinePointButton);
    CCal9ViewDlg& ninePoint = calibrationPage.ninePointScreen();
    StartTargetScreen(ninePoint, window, {25, 25});
    keep(ninePoint, "30-nine-point-screen-blink-1");
    keep(ninePoint, "30-nine-point-screen-blink-2");
    ninePoint.Finish();
    ClickCalibrationButton(window, CCalibrationDlg::kTwoPointButton);
    CSaveCaldataDlg prompt(&window);
    prompt.show();
    QCoreApplication::processEvents();
    keep(prompt, "31-save-prompt");
    prompt.close();

    CAboutDlg about(&window);
    about.show();
    QCoreApplication::processEvents();
    keep(about, "14-about");
    about.close();

    CSimulationDlg simulation(&window);
    simulation.OnInitDialog();
    simulation.show();
    simulation.OnStart();
    QCoreApplication::processEvents();
    keep(simulation, "44-simulation-running");
    simulation.close();

    window.ShowPage(CZorvaneTestDlg::kColumnCharts);
    SetScanSelection({ScanDirection::Middle, true, false, true, false});
    AcquireUntil(window, [](const ScanData& d) { return !d.xPower.empty(); });
    CColumnZoomDlg zoom(&ChartView(window));
    zoom.OnInitDialog();
    zoom.show();
    Settle([&] { return !zoom.chart().data().xPower.empty(); });
    keep(zoom, "15-zoom-view");
    zoom.accept();

    RunDrawingShots(window, keep);
    KeepFirmwareShots(window, frame, QDir(files.path()), keep);  // last: the frame comes back with other firmware
    window.CloseSequence();
    return written;
}

}  // namespace zorvane
