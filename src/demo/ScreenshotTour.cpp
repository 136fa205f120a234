#include "demo/ScreenshotTour.h"

#include "app/CAboutDlg.h"
#include "app/MainWindowRun.h"
#include "calibration/CalibrationFile.h"
#include "calibration/CalibrationFileFormat.h"
#include "pages/CAdvancecdDlg.h"
#include "pages/CCal9ViewDlg.h"
#include "pages/CCalViewDlg.h"
#include "pages/CCalibrationDlg.h"
#include "pages/CPenTestDlg.h"
#include "pages/CSimulationDlg.h"
#include "pages/CSaveCaldataDlg.h"
#include "pages/CUpdateFirmDlg.h"
#include "pages/CColumnNormalDlg.h"
#include "pages/CColumnZoomDlg.h"
#include "pages/ColumnSelectDlg.h"
#include "signal/CursorMode.h"
#include "signal/ScanSelection.h"
#include "sim/FirmwareImages.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QEventLoop>
#include <QMouseEvent>
#include <QPixmap>
#include <QTemporaryDir>

#include <array>
#include <chrono>
#include <fstream>
#include <functional>
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

// A calibration data file whose checksum does not match its record.
QString WriteBadFile(const QString& path)
{
    TwoPointCalibration record{0x9A, 0x88, 0x6F0, 0x3A0};
    record.deviceId = {u'1', u'9', u'2', u'-', u'1', u'0', u'8'};
    CalibrationFileBytes bytes = EncodeCalibrationFile(record);
    bytes[4] ^= 0x10;
    std::ofstream(path.toStdString(), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return path;
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

struct Shot {
    const char* name;
    std::function<void(CZorvaneTestDlg&)> setUp;
};

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
        {"27-advanced-setup",
         [&frame](CZorvaneTestDlg& w) {
             frame.Replug();
             AdvancedPage(w).ShowSubPage(CAdvancecdDlg::kSetupPage);
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

    // Last, since the frame comes back from its bootloader with other firmware.
    window.ShowPage(CZorvaneTestDlg::kAdvancedPage);
    AdvancedPage(window).ShowSubPage(CAdvancecdDlg::kFirmwarePage);
    CUpdateFirmDlg& firmware = AdvancedPage(window).firmwarePage();
    firmware.StartUpdate();
    keep(window, "32-firmware-file-missing");
    const QString image = files.filePath(QStringLiteral("ZV-IR65T.bin"));
    const std::vector<std::uint8_t> bytes = ImageForFrame(frame.frame().state(), 0x0320);
    std::ofstream(image.toStdString(), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    firmware.SetOpenDialog([image](QWidget*) { return image; });
    firmware.BrowseImage();
    firmware.StartUpdate();
    Settle([&] { return !firmware.transferRunning() && firmware.shownProgress() == 100.0f; });
    keep(window, "33-firmware-update-done");
    window.CloseSequence();
    return written;
}

}  // namespace zorvane
