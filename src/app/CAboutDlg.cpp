#include "app/CAboutDlg.h"

#include "widgets/Artwork.h"
#include "widgets/Fonts.h"
#include "widgets/Palette.h"
#include "widgets/TitleBandDrag.h"

#include <QColor>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

namespace zorvane {
namespace {

constexpr int kOkStrip = 565;
constexpr int kTitlePicture = 585;
constexpr int kIconSize = 32;
constexpr int kTextLeft = 72;
constexpr int kTextWidth = 290;

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , okButton_(this)
    , icon_(this)
    , nameAndVersion_(this)
    , firstRightsLine_(this)
    , secondRightsLine_(this)
{
    setObjectName(QStringLiteral("CAboutDlg"));
    setFixedSize(kWidth, kHeight);
    setFont(MakeFont(FontFace::Song, 12));

    okButton_.setObjectName(QStringLiteral("id1"));
    okButton_.setGeometry(280, 140, 75, 25);
    okButton_.LoadBitmaps(kOkStrip, 25, 75);
    connect(&okButton_, &QAbstractButton::clicked, this, &QDialog::accept);

    icon_.setObjectName(QStringLiteral("id2061"));
    icon_.setGeometry(24, 62, kIconSize, kIconSize);
    icon_.setPixmap(QPixmap::fromImage(Artwork::ProgramIcon(kIconSize)));

    const struct {
        QLabel& label;
        const char* id;
        QString text;
        int y;
    } texts[] = {
        {nameAndVersion_, "id2057", NameAndVersion(), 58},
        {firstRightsLine_, "id2059", QStringLiteral("版权所有 (C) 2026 Zorvane 开发者"), 84},
        {secondRightsLine_, "id2058", QStringLiteral("保留所有权利。"), 108},
    };
    for (const auto& text : texts) {
        text.label.setObjectName(QLatin1String(text.id));
        text.label.setText(text.text);
        text.label.setGeometry(kTextLeft, text.y, kTextWidth, 18);
    }
}

QString CAboutDlg::NameAndVersion()
{
    return QString::asprintf("%s(%d.%d.%04d)", "Pindaro_SL", 1, 10, 603);
}

void CAboutDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QRect area = rect();
    painter.fillRect(area, QColor(33, 33, 33));
    area.adjust(1, 1, -1, -1);
    painter.fillRect(area, palette::kBlue);
    area.setTop(area.top() + kTitleBandHeight);
    painter.fillRect(area, palette::kPageBackground);
    painter.drawImage(1, 1, Artwork::Bitmap(kTitlePicture));
}

// Only the title band drags the box.
void CAboutDlg::mousePressEvent(QMouseEvent* event)
{
    if (!DragByTitleBand(*this, *event, kTitleBandHeight))
        QDialog::mousePressEvent(event);
}

}  // namespace zorvane
