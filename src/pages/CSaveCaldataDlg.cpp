#include "pages/CSaveCaldataDlg.h"

#include "calibration/CalibrationRun.h"
#include "widgets/Artwork.h"
#include "widgets/ButtonPlacement.h"
#include "widgets/CellText.h"
#include "widgets/Fonts.h"
#include "widgets/PageKeyFilter.h"
#include "widgets/Palette.h"

#include <QPainter>

namespace zorvane {
namespace {

constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kYesBitmap = 572;
constexpr int kNoBitmap = 564;
constexpr int kCancelBitmap = 549;
constexpr int kTitleBitmap = 567;
constexpr int kTitleBand = 40;
const QColor kFrame(33, 33, 33);

}  // namespace

CSaveCaldataDlg::CSaveCaldataDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , yesButton_(this)
    , noButton_(this)
    , cancelButton_(this)
{
    setObjectName(QStringLiteral("CSaveCaldataDlg"));
    setFixedSize(kWidth, kHeight);
    PlaceAnswer(yesButton_, save_answer::kYes, {50, 130}, kYesBitmap);
    PlaceAnswer(noButton_, save_answer::kNo, {149, 130}, kNoBitmap);
    PlaceAnswer(cancelButton_, save_answer::kCancel, {248, 130}, kCancelBitmap);
    SwallowPageEndingKeys(*this);
}

void CSaveCaldataDlg::PlaceAnswer(CMybutton& button, int result, QPoint at, int bitmap)
{
    PlaceButton(button, result, {at.x(), at.y(), kButtonWidth, kButtonHeight}, bitmap);
    connect(&button, &QAbstractButton::clicked, this, [this, result] { done(result); });
}

QImage CSaveCaldataDlg::RenderPicture() const
{
    QImage picture(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&picture);
    const QRect inside = picture.rect().adjusted(1, 1, -1, -1);
    painter.fillRect(picture.rect(), kFrame);
    painter.fillRect(inside, palette::kBlue);
    painter.fillRect(inside.adjusted(0, kTitleBand, 0, 0), palette::kPageBackground);
    painter.drawImage(1, 1, Artwork::Bitmap(kTitleBitmap));
    painter.setFont(MakeFont(FontFace::Kai, 20, 10, 400));
    DrawCellText(painter, 50, 80, QStringLiteral("是否保存校准数据?"));
    return picture;
}

void CSaveCaldataDlg::paintEvent(QPaintEvent*)
{
    QPainter(this).drawImage(0, 0, RenderPicture());
}

}  // namespace zorvane
