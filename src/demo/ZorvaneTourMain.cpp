// zorvane-tour FOLDER: writes a PNG of every page and state of the window on the simulated frame,
// without a display.

#include "demo/ScreenshotTour.h"
#include "demo/SimulatedPlatform.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    using namespace zorvane;
    if (argc != 2) {
        std::fprintf(stderr, "usage: zorvane-tour FOLDER\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const auto frame = std::make_shared<SimulatedHidBackend>();
    const QStringList files = WriteScreenshotTour(QString::fromLocal8Bit(argv[1]), SimulatedPlatform(frame), *frame);
    for (const QString& file : files)
        std::printf("%s\n", qPrintable(file));
    return files.isEmpty() ? 1 : 0;
}
