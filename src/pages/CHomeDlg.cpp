#include "pages/CHomeDlg.h"

#include "widgets/Artwork.h"
#include "widgets/CellText.h"
#include "widgets/Fonts.h"
#include "widgets/PageKeyFilter.h"
#include "widgets/Palette.h"
#include "link/DeviceChannel.h"
#include "protocol/DeviceProtocol.h"

#include <QColor>
#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include <array>

namespace zorvane {
namespace {

using palette::kPageBackground;
const QColor& kLineColour = palette::kLine;

constexpr int kFramePicture = 529;
constexpr int kLaptopPicture = 504;
constexpr int kConnectedPicture = 554;
constexpr int kNotConnectedPicture = 555;
constexpr int kRedetectStrip = 560;

constexpr int kLineLeft = 310;
constexpr int kLineRight = 730;
constexpr std::array kLineYs{243, 273, 303, 333, 363, 393, 423, 453, 483};
constexpr int kLabelX = 370;
constexpr int kStatePictureX = 390;
constexpr int kStatePictureY = 110;
constexpr int kStatePictureWidth = 230;
constexpr int kAccessHintY = 196;  // between the pictures and the re-detect button
constexpr int kValueX = 515;

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace

CHomeDlg::CHomeDlg(QWidget* parent)
    : QWidget(parent)
    , redetectButton_(this)
    , titleFont_(MakeFont(FontFace::Kai, 20, 10, 700))
    , rowFont_(MakeFont(FontFace::Kai, 16, 9, 400))
{
    setObjectName(QStringLiteral("CHomeDlg"));
    setAttribute(Qt::WA_OpaquePaintEvent);  // the picture covers the whole page
    SwallowPageEndingKeys(*this);
    redetectButton_.setObjectName(QStringLiteral("id1002"));
    connect(&redetectButton_, &QAbstractButton::clicked, this, [this] { Redetect(); });
}

void CHomeDlg::OnInitDialog()
{
    redetectButton_.setGeometry(100, 250, 152, 52);
    redetectButton_.LoadBitmaps(kRedetectStrip, 52, 152);
    Redetect();
}

void CHomeDlg::Redetect()
{
    const bool found = QueryDeviceInfo(GetDeviceProtocol(), deviceInfo_) == link_status::kOk;
    accessRefused_ = !found && GetDeviceChannel().lastScanRefusedAccess();
    EnterState(found);
}

void CHomeDlg::OnDeviceChange(const DeviceNotice& notice)
{
    switch (notice.kind) {
    case DeviceNotice::Kind::Arrival:
        Redetect();
        return;
    case DeviceNotice::Kind::Removal:
        if (Text(notice.interfacePath).compare(Text(deviceInfo_.interfacePath), Qt::CaseInsensitive) != 0)
            return;
        accessRefused_ = false;
        EnterState(false);
        CloseNormalDevice(GetDeviceProtocol());
        return;
    }
}

void CHomeDlg::EnterState(bool connected)
{
    connected_ = connected;
    if (connectionCallback_)
        connectionCallback_(connected_ ? 1 : 0);
    update();
}

QImage CHomeDlg::RenderPicture() const
{
    QImage picture(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    picture.fill(kPageBackground);
    QPainter painter(&picture);
    painter.drawImage(100, 80, Artwork::Bitmap(kFramePicture));
    painter.drawImage(750, 65, Artwork::Bitmap(kLaptopPicture));
    painter.drawImage(kStatePictureX, kStatePictureY, Artwork::Bitmap(connected_ ? kConnectedPicture : kNotConnectedPicture));
    // A failed query can leave the record half filled: the table shows only while connected.
    if (connected_)
        PaintInformationTable(painter);
    else if (accessRefused_)
        PaintAccessHint(painter);
    return picture;
}

void CHomeDlg::PaintInformationTable(QPainter& painter) const
{
    painter.setPen(QPen(kLineColour, 1));
    for (const int y : kLineYs)
        painter.drawLine(kLineLeft, y, kLineRight - 1, y);

    painter.setFont(titleFont_);
    DrawCellText(painter, kLabelX, 250, QStringLiteral("设备信息"));

    const DeviceInfo& info = deviceInfo_;
    const std::array<std::pair<QString, QString>, 7> rows{{
        {QStringLiteral("型号"), Text(info.modelText)},
        {QStringLiteral("版本"), Text(info.firmwareVersionText + " | " + info.secondVersionText)},
        {QStringLiteral("识别码"), Text(info.identificationCode + info.identificationSuffix)},
        {QStringLiteral("最大点数"), Text(info.maxTouchPointsText)},
        {QStringLiteral("拼版"), Text(BoardLayoutText(info.xBoards, info.yBoards))},
        {QStringLiteral("编译时间"), Text(info.buildTimeText)},
        {QStringLiteral("VID&PID"), Text(info.vidPidText)},
    }};
    painter.setFont(rowFont_);
    int y = 280;
    for (const auto& [label, value] : rows) {
        DrawCellText(painter, kLabelX, y, label);
        DrawCellText(painter, kValueX, y, value);
        y += 30;
    }
}

// One line under the state picture: what keeps the frame out of reach and how to fix it (the README's
// installation puts the rule in place).
void CHomeDlg::PaintAccessHint(QPainter& painter) const
{
    const QString hint = QStringLiteral("已找到触摸框，但无权访问：请安装 udev 规则 70-zorvane.rules，并在本机登录");
    painter.setFont(rowFont_);
    const int width = QFontMetrics(rowFont_).horizontalAdvance(hint);
    DrawCellText(painter, kStatePictureX + (kStatePictureWidth - width) / 2, kAccessHintY, hint);
}

void CHomeDlg::paintEvent(QPaintEvent*)
{
    QPainter(this).drawImage(0, 0, RenderPicture());
}

}  // namespace zorvane
