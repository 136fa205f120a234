#include "pages/CDeviceSetUpDlg.h"

#include "widgets/CellText.h"
#include "widgets/Fonts.h"
#include "widgets/PageKeyFilter.h"
#include "widgets/Palette.h"

#include <QPainter>
#include <QPalette>
#include <QPen>
#include <QSignalBlocker>
#include <QString>

namespace zorvane {
namespace {

const QColor kSeparatorColour(193, 213, 232);

struct RadioPlace {
    const char* caption;  // UTF-8
    QRect rect;
};

// By button index. The rotation row follows its label "旋转：", the modes sit under their heading.
constexpr RadioPlace kRotationRadios[] = {
    {"0°", {170, 100, 70, 22}},
    {"90°", {240, 100, 70, 22}},
    {"180°", {310, 100, 70, 22}},
    {"270°", {380, 100, 70, 22}},
};
constexpr RadioPlace kModeRadios[] = {
    {"Mouse", {110, 185, 110, 22}},
    {"Touch", {230, 185, 110, 22}},
    {"Muli-Touch", {350, 185, 120, 22}},
};
constexpr QRect kReverseRect(160, 61, 20, 20);

void Place(QAbstractButton& control, QWidget* page, int id, const QRect& rect, const char* caption = "")
{
    control.setParent(page);
    control.setObjectName(QStringLiteral("id%1").arg(id));
    control.setText(QString::fromUtf8(caption));
    control.setGeometry(rect);
    // A transparent background over the page's own colour.
    QPalette colours = control.palette();
    colours.setColor(QPalette::Window, palette::kPageBackground);
    control.setPalette(colours);
    control.setBackgroundRole(QPalette::Window);  // a button's own role is Button
    control.setAutoFillBackground(true);
}

// Selects `index` of the exclusive `group`, or none when it lies outside the group.
void Select(QButtonGroup& group, int firstId, int index)
{
    if (QAbstractButton* button = group.button(firstId + index)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group keeps its checked button; it has to let go to show none.
    group.setExclusive(false);
    for (QAbstractButton* button : group.buttons())
        button->setChecked(false);
    group.setExclusive(true);
}

}  // namespace

CDeviceSetUpDlg::CDeviceSetUpDlg(QWidget* parent)
    : QWidget(parent)
    , model_(GetDeviceProtocol())
    , titleFont_(MakeFont(FontFace::Kai, 20, 10, 700))
    , rowFont_(MakeFont(FontFace::Kai, 16, 9, 400))
{
    setObjectName(QStringLiteral("CDeviceSetUpDlg"));
    setAttribute(Qt::WA_OpaquePaintEvent);  // the picture covers the whole page
    SwallowPageEndingKeys(*this);
    PlaceControls();
    ShowSettings();
    connect(&rotationGroup_, &QButtonGroup::idClicked, this, [this](int id) { ApplyRotation(id - kRotation0Radio); });
    connect(&modeGroup_, &QButtonGroup::idClicked, this, [this](int id) { ApplyTouchMode(id - kMouseRadio); });
    connect(&reverse_, &QAbstractButton::clicked, this, [this] { ApplyReverse(); });
}

void CDeviceSetUpDlg::PlaceControls()
{
    for (int index = 0; index < DeviceSetupModel::kRotationCount; ++index) {
        const int id = kRotation0Radio + index;
        Place(rotations_[index], this, id, kRotationRadios[index].rect, kRotationRadios[index].caption);
        rotationGroup_.addButton(&rotations_[index], id);
    }
    Place(reverse_, this, kReverseBox, kReverseRect);
    for (int index = 0; index < DeviceSetupModel::kModeCount; ++index) {
        const int id = kMouseRadio + index;
        Place(modes_[index], this, id, kModeRadios[index].rect, kModeRadios[index].caption);
        modeGroup_.addButton(&modes_[index], id);
    }
}

void CDeviceSetUpDlg::ReadSettings()
{
    model_.ReadSettings();
    ShowSettings();
}

void CDeviceSetUpDlg::ApplyRotation(int rotation)
{
    model_.ApplyRotation(rotation);
    ShowSettings();
}

void CDeviceSetUpDlg::ApplyReverse()
{
    model_.ApplyReverse(reverse_.isChecked());
    ShowSettings();
}

void CDeviceSetUpDlg::ApplyTouchMode(int mode)
{
    model_.ApplyTouchMode(mode);
    ShowSettings();
}

void CDeviceSetUpDlg::ShowSettings()
{
    const QSignalBlocker rotationBlocker(rotationGroup_);
    const QSignalBlocker modeBlocker(modeGroup_);
    const QSignalBlocker reverseBlocker(reverse_);
    Select(rotationGroup_, kRotation0Radio, model_.rotation());
    Select(modeGroup_, kMouseRadio, model_.mode());
    reverse_.setChecked(model_.reversed());
}

QImage CDeviceSetUpDlg::RenderPicture() const
{
    QImage picture(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    picture.fill(palette::kPageBackground);
    QPainter painter(&picture);
    painter.setFont(titleFont_);
    DrawCellText(painter, 20, 20, QStringLiteral("旋转设置"));
    DrawCellText(painter, 20, 150, QStringLiteral("触摸模式"));
    painter.setFont(rowFont_);
    DrawCellText(painter, 110, 63, QStringLiteral("反向:"));
    DrawCellText(painter, 210, 63, QStringLiteral("（灯管朝上请选择）"));
    DrawCellText(painter, 110, 103, QStringLiteral("旋转："));
    // Each line stops one pixel short of its end point.
    painter.setPen(QPen(kSeparatorColour, 1));
    painter.drawLine(70, 90, 403, 90);
    for (const int y : {130, 220, 340, 440})
        painter.drawLine(10, y, 813, y);
    return picture;
}

void CDeviceSetUpDlg::paintEvent(QPaintEvent*)
{
    QPainter(this).drawImage(0, 0, RenderPicture());
}

}  // namespace zorvane
