#include "demo/ScreenshotTour.h"

#include "app/CAboutDlg.h"
#include "app/MainWindowRun.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDir>
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
        {"03-column-charts", [](CZorvaneTestDlg& w) { w.ShowPage(CZorvaneTestDlg::kColumnCharts); }},
        {"04-pen-test", [](CZorvaneTestDlg& w) { w.ShowPage(CZorvaneTestDlg::kPenTestPage); }},
        {"05-advanced", [](CZorvaneTestDlg& w) { w.ShowPage(CZorvaneTestDlg::kAdvancedPage); }},
        {"06-home-not-connected",
         [&frame](CZorvaneTestDlg& w) {
             frame.Unplug();
             w.ShowPage(CZorvaneTestDlg::kHomePage);
         }},
        {"07-home-replugged",
         [&frame](CZorvaneTestDlg& w) {
             frame.Replug();
             w.homePage().Redetect();
         }},
        {"08-home-access-refused",
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

    CAboutDlg about(&window);
    about.show();
    QCoreApplication::processEvents();
    const QString aboutFile = target.filePath(QStringLiteral("09-about.png"));
    if (about.grab().save(aboutFile))
        written << aboutFile;
    about.close();
    window.CloseSequence();
    return written;
}

}  // namespace zorvane
