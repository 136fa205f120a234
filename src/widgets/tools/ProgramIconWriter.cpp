// zorvane-icons FOLDER: writes the program icon as FOLDER/<n>x<n>/apps/Zorvane.png in every size, the
// layout of an icon theme, for installing.

#include "widgets/Artwork.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    using namespace zorvane;
    if (argc != 2) {
        std::fprintf(stderr, "usage: zorvane-icons FOLDER\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QDir root(QString::fromLocal8Bit(argv[1]));
    for (const int size : Artwork::ProgramIconSizes()) {
        const QString folder = root.filePath(QStringLiteral("%1x%1/apps").arg(size));
        if (!QDir().mkpath(folder) || !Artwork::ProgramIcon(size).save(folder + QStringLiteral("/Zorvane.png"))) {
            std::fprintf(stderr, "zorvane-icons: cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
