// Writes every bitmap of the artwork as <id>.png, the program icon as icon-<size>.png and a contact sheet
// (sheet-N.png, everything at twice its size on a neutral grey, in pages) into the folder given on the command
// line, for review.
#include "widgets/Artwork.h"

#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kScale = 2;
constexpr int kMargin = 12;
constexpr int kLabelWidth = 48;
constexpr int kPageHeight = 960;

struct Entry {
    QImage image;
    QString label;
};

// Draws `entries` one under the other at twice their size, labelled, on a neutral grey.
QImage ContactSheet(const std::vector<Entry>& entries)
{
    int width = 0;
    int height = kMargin;
    for (const Entry& entry : entries) {
        width = std::max(width, entry.image.width() * kScale);
        height += entry.image.height() * kScale + kMargin;
    }
    QImage sheet(width + kLabelWidth + 2 * kMargin, height, QImage::Format_RGB32);
    sheet.fill(QColor(128, 128, 128));
    QPainter painter(&sheet);
    QFont font;
    font.setPixelSize(13);
    painter.setFont(font);
    painter.setPen(Qt::white);
    int y = kMargin;
    for (const Entry& entry : entries) {
        const QSize size = entry.image.size() * kScale;
        painter.drawText(kMargin, y + 12, entry.label);
        painter.drawImage(QRect(QPoint(kMargin + kLabelWidth, y), size), entry.image);
        y += size.height() + kMargin;
    }
    return sheet;
}

// Splits the entries into pages of about kPageHeight pixels.
std::vector<std::vector<Entry>> Pages(const std::vector<Entry>& entries)
{
    std::vector<std::vector<Entry>> pages(1);
    int height = 0;
    for (const Entry& entry : entries) {
        const int entryHeight = entry.image.height() * kScale + kMargin;
        if (height + entryHeight > kPageHeight && !pages.back().empty()) {
            pages.emplace_back();
            height = 0;
        }
        pages.back().push_back(entry);
        height += entryHeight;
    }
    return pages;
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: artwork-sheet FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "artwork-sheet: cannot create %s\n", argv[1]);
        return 1;
    }

    std::vector<Entry> entries;
    bool written = true;
    const auto save = [&](const QImage& image, const QString& name, const QString& label) {
        written = image.save(folder.filePath(name + QStringLiteral(".png"))) && written;
        entries.push_back({image, label});
    };
    for (const int id : zorvane::Artwork::ResourceIds()) {
        save(zorvane::Artwork::Bitmap(id), QString::number(id), QString::number(id));
    }
    for (const int size : zorvane::Artwork::ProgramIconSizes()) {
        save(zorvane::Artwork::ProgramIcon(size), QStringLiteral("icon-%1").arg(size),
             QStringLiteral("128/%1").arg(size));
    }
    int pageNumber = 0;
    for (const std::vector<Entry>& page : Pages(entries)) {
        const QString name = QStringLiteral("sheet-%1.png").arg(++pageNumber);
        written = ContactSheet(page).save(folder.filePath(name)) && written;
    }
    if (!written) {
        std::fprintf(stderr, "artwork-sheet: could not write every image to %s\n", argv[1]);
        return 1;
    }
    return 0;
}
