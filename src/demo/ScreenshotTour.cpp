#include "demo/ScreenshotTour.h"

#include "app/CAboutDlg.h"
#include "app/MainWindowRun.h"
#include "pages/CColumnNormalDlg.h"
#include "pages/CColumnZoomDlg.h"
#include "pages/ColumnSelectDlg.h"
#include "signal/CursorMode.h"
#include "signal/ScanSelection.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QEventLoop>
#include <QMouseEvent>
#include <QPixmap>

#include <chrono>
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
    CAboutDlg about(&window);
    about.show();
    QCoreApplication::processEvents();
    keep(about, "14-about");
    about.close();

    window.ShowPage(CZorvaneTestDlg::kColumnCharts);
    SetScanSelection({ScanDirection::Middle, true, false, true, false});
    AcquireUntil(window, [](const ScanData& d) { return !d.xPower.empty(); });
    CColumnZoomDlg zoom(&ChartView(window));
    zoom.OnInitDialog();
    zoom.show();
    Settle([&] { return !zoom.chart().data().xPower.empty(); });
    keep(zoom, "15-zoom-view");
    zoom.accept();
    window.CloseSequence();
    return written;
}

}  // namespace zorvane
