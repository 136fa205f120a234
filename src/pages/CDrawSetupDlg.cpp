#include "pages/CDrawSetupDlg.h"

#include "widgets/Artwork.h"
#include "widgets/ButtonPlacement.h"
#include "widgets/CellText.h"
#include "widgets/Fonts.h"
#include "widgets/Palette.h"
#include "widgets/TitleBandDrag.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPalette>
#include <QPen>

#include <algorithm>

namespace zorvane {
namespace {

constexpr int kTitleBitmap = 557;
constexpr int kMinLineWidth = 1;
constexpr int kMaxLineWidth = 10;
constexpr int kMinSpacing = 10;
constexpr int kMaxSpacing = 100;

struct ColourRadio {
    int id;
    const char* caption;
    const QColor& colour;
};

// By colour index.
const ColourRadio kColourRadios[] = {
    {CDrawSetupDlg::kRedRadio, "RED", palette::kRed},
    {CDrawSetupDlg::kGreenRadio, "GREEN", palette::kGreen},
    {CDrawSetupDlg::kYellowRadio, "YELLOW", palette::kOrange},
    {CDrawSetupDlg::kBlueRadio, "BLUE", palette::kBlue},
};
constexpr int kRadioY = 123;
constexpr int kFirstRadioX = 20;
constexpr int kRadioPitch = 110;
constexpr QSize kRadioSize(96, 24);
constexpr QRect kGridBoxRect(415, 62, 20, 20);

constexpr ButtonPlace kButtons[] = {
    {CDrawSetupDlg::kWidthUpButton, {160, 43, 24, 24}, 537},
    {CDrawSetupDlg::kWidthDownButton, {160, 71, 24, 24}, 538},
    {CDrawSetupDlg::kSpacingUpButton, {370, 43, 24, 24}, 537},
    {CDrawSetupDlg::kSpacingDownButton, {370, 71, 24, 24}, 538},
    {CDrawSetupDlg::kCancelButton, {260, 185, 75, 25}, 549},
    {CDrawSetupDlg::kOkButton, {359, 185, 75, 25}, 565},
};

int ColourIndexOf(const QColor& colour)
{
    const auto found =
        std::ranges::find_if(kColourRadios, [&](const ColourRadio& radio) { return radio.colour == colour; });
    return found == std::end(kColourRadios) ? -1 : static_cast<int>(found - std::begin(kColourRadios));
}

// The control's brush: its background under a transparent text background.
void Fill(QWidget& control, const QColor& colour)
{
    QPalette colours = control.palette();
    colours.setColor(QPalette::Window, colour);
    control.setPalette(colours);
    control.setBackgroundRole(QPalette::Window);  // a button's own role is Button
    control.setAutoFillBackground(true);
}

}  // namespace

CDrawSetupDlg::CDrawSetupDlg(const DrawSettings& settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , settings_(settings)
    , colourIndex_(ColourIndexOf(settings.penColour))
    , textFont_(MakeFont(FontFace::Kai, 20, 10, 400))
{
    setObjectName(QStringLiteral("CDrawSetupDlg"));
    setAttribute(Qt::WA_OpaquePaintEvent);  // the picture covers the whole dialog
    setFixedSize(kWidth, kHeight);
    PlaceControls();
    PlaceButtons();
}

void CDrawSetupDlg::PlaceControls()
{
    for (int index = 0; index < kColourCount; ++index) {
        const ColourRadio& place = kColourRadios[index];
        QRadioButton& radio = colours_[index];
        radio.setParent(this);
        radio.setObjectName(QStringLiteral("id%1").arg(place.id));
        radio.setText(QString::fromLatin1(place.caption));
        radio.setGeometry(QRect(QPoint(kFirstRadioX + index * kRadioPitch, kRadioY), kRadioSize));
        radio.setChecked(index == colourIndex_);
        Fill(radio, place.colour);
        colourGroup_.addButton(&radio, place.id);
    }
    gridBox_.setParent(this);
    gridBox_.setObjectName(QStringLiteral("id%1").arg(kGridBox));
    gridBox_.setGeometry(kGridBoxRect);
    gridBox_.setChecked(settings_.gridOn != 0);
    Fill(gridBox_, palette::kGreen);
    connect(&colourGroup_, &QButtonGroup::idClicked, this, [this](int id) {
        ReadControls();
        settings_.penColour = kColourRadios[id - kRedRadio].colour;
    });
    connect(&gridBox_, &QAbstractButton::clicked, this, [this] { ReadControls(); });
}

void CDrawSetupDlg::PlaceButtons()
{
    zorvane::PlaceButtons(buttons_, kButtons, *this, [this](int id) {
        switch (id) {
        case kWidthUpButton:
            return WidthUp();
        case kWidthDownButton:
            return WidthDown();
        case kSpacingUpButton:
            return SpacingUp();
        case kSpacingDownButton:
            return SpacingDown();
        case kOkButton:
            ReadControls();
            return accept();
        case kCancelButton:
            return reject();
        }
    });
}

void CDrawSetupDlg::ReadControls()
{
    settings_.gridOn = gridBox_.isChecked() ? 1 : 0;
    colourIndex_ = colourGroup_.checkedId() < 0 ? -1 : colourGroup_.checkedId() - kRedRadio;
}

void CDrawSetupDlg::WidthUp()
{
    if (settings_.lineWidth < kMaxLineWidth) {
        ++settings_.lineWidth;
        update();
    }
}

void CDrawSetupDlg::WidthDown()
{
    if (settings_.lineWidth > kMinLineWidth) {
        --settings_.lineWidth;
        update();
    }
}

void CDrawSetupDlg::SpacingUp()
{
    if (settings_.gridOn && settings_.gridSpacing < kMaxSpacing) {
        ++settings_.gridSpacing;
        update();
    }
}

void CDrawSetupDlg::SpacingDown()
{
    if (settings_.gridOn && settings_.gridSpacing > kMinSpacing) {
        --settings_.gridSpacing;
        update();
    }
}

QString CDrawSetupDlg::LineWidthText() const { return QString::asprintf("线宽( %02d )", settings_.lineWidth); }

QString CDrawSetupDlg::GridText() const { return QString::asprintf("网格( %02d )", settings_.gridSpacing); }

QImage CDrawSetupDlg::RenderPicture() const
{
    const int w = width();
    const int h = height();
    QImage picture(w, h, QImage::Format_RGB32);
    QPainter painter(&picture);
    // A one-pixel blue frame and the blue title band over the top 41 pixels.
    painter.fillRect(picture.rect(), palette::kBlue);
    painter.fillRect(QRect(QPoint(1, 41), QPoint(w - 2, h - 2)), palette::kPageBackground);
    painter.drawImage(1, 1, Artwork::Bitmap(kTitleBitmap));
    // Each line stops one pixel short of its end point.
    painter.setPen(QPen(palette::kLine, 1));
    painter.drawLine(5, 100, w - 7, 100);
    painter.drawLine(230, 45, 230, 94);
    painter.drawLine(5, 170, w - 7, 170);
    painter.setFont(textFont_);
    DrawCellText(painter, 40, 60, LineWidthText());
    DrawCellText(painter, 250, 60, GridText());
    return picture;
}

void CDrawSetupDlg::paintEvent(QPaintEvent*)
{
    QPainter(this).drawImage(0, 0, RenderPicture());
}

void CDrawSetupDlg::mousePressEvent(QMouseEvent* event)
{
    if (!DragByTitleBand(*this, *event, kTitleBandHeight))
        QDialog::mousePressEvent(event);
}

// Enter is the OK button, as Escape is cancel.
void CDrawSetupDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        ReadControls();
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

std::optional<DrawSettings> RunDrawSetup(QWidget* parent, const DrawSettings& settings)
{
    CDrawSetupDlg dialog(settings, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.settings();
}

}  // namespace zorvane
