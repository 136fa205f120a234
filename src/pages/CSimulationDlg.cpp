#include "pages/CSimulationDlg.h"

#include "widgets/Fonts.h"
#include "widgets/Palette.h"
#include "widgets/ScreenOfWindow.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPen>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace zorvane {
namespace {

const QString kStart = QStringLiteral("开始");
const QString kStop = QStringLiteral("停止");

// The buttons' places in the view's template, in pixels (dialog units of 8 pt MS Shell Dlg converted).
constexpr QRect kStartRect(1263, 737, 105, 30);
constexpr QRect kFrontRect(1263, 700, 105, 30);
constexpr QRect kBackRect(1263, 663, 105, 30);
constexpr QRect kMiddleRect(1263, 627, 105, 30);
constexpr int kMargin = 8;
constexpr float kMinBeamSpacing = 16.0f;  // pixels between two drawn beams of one direction

// By scan direction: front, middle, back.
const std::array<QColor, SimulatedScanGeometry::kDirectionCount> kBeamColours{palette::kRed, palette::kGreen,
                                                                             palette::kBlue};

// On a screen smaller than the template the button column moves in, so that it stays in reach; the start
// button is its lowest.
QPoint ColumnShift(QSize client)
{
    return {std::min(0, client.width() - kMargin - kStartRect.right() - 1),
            std::min(0, client.height() - kMargin - kStartRect.bottom() - 1)};
}

// Every how many beams one is drawn, so that neighbours stay apart on a small screen.
std::size_t BeamStep(float scale)
{
    const float pitchPixels = static_cast<float>(SimulatedScanGeometry::kPitch) / scale;
    return static_cast<std::size_t>(std::max(1.0f, std::ceil(kMinBeamSpacing / pitchPixels)));
}

}  // namespace

CSimulationDlg::CSimulationDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , geometry_(PrepareScanGeometry(kReceiversX, kReceiversY))
    , owner_(parent ? *parent->window() : *this)
    , startButton_(kStart, this)
    , frontButton_(QStringLiteral("X前扫描"), this)
    , backButton_(QStringLiteral("X后扫描"), this)
    , middleButton_(QStringLiteral("X中扫描"), this)
{
    setObjectName(QStringLiteral("CSimulationDlg"));
    setAttribute(Qt::WA_OpaquePaintEvent);  // the picture covers the whole view
    const QFont font = MakeFont(FontFace::Song, 14);
    const std::pair<QPushButton*, int> buttons[] = {{&startButton_, kStartButton},
                                                    {&frontButton_, kFrontScanButton},
                                                    {&backButton_, kBackScanButton},
                                                    {&middleButton_, kMiddleScanButton}};
    for (auto [button, id] : buttons) {
        button->setObjectName(QStringLiteral("id%1").arg(id));
        button->setFont(font);
        button->setAutoDefault(false);  // Enter closes the view instead of pressing a button
    }
    // A switch shows pressed while its direction is on.
    for (QPushButton* scan : {&frontButton_, &backButton_, &middleButton_}) {
        scan->setCheckable(true);
        scan->setChecked(true);
    }
    connect(&startButton_, &QPushButton::clicked, this, [this] { OnStart(); });
    connect(&frontButton_, &QPushButton::clicked, this, [this] { ToggleScan(kFront); });
    connect(&backButton_, &QPushButton::clicked, this, [this] { ToggleScan(kBack); });
    connect(&middleButton_, &QPushButton::clicked, this, [this] { ToggleScan(kMiddle); });
}

CSimulationDlg::~CSimulationDlg() = default;

void CSimulationDlg::OnInitDialog()
{
    CoverScreen();
    setWindowState(Qt::WindowFullScreen);
    screenOfOwner_ = std::make_unique<ScreenOfWindow>(owner_, [this](QSize) { CoverScreen(); });
}

void CSimulationDlg::CoverScreen()
{
    const QScreen* screen = owner_.screen() ? owner_.screen() : QGuiApplication::primaryScreen();
    setGeometry(screen->geometry());
}

void CSimulationDlg::OnStart()
{
    if (running_) {
        running_ = false;
        startButton_.setText(kStart);
    } else {
        Measure();
        running_ = true;
        startButton_.setText(kStop);
    }
    update();
}

void CSimulationDlg::ToggleScan(int direction)
{
    scanOn_[direction] = !scanOn_[direction];
    QPushButton* const switches[] = {&frontButton_, &middleButton_, &backButton_};
    switches[direction]->setChecked(scanOn_[direction]);
    update();
}

void CSimulationDlg::Measure()
{
    xScale_ = static_cast<float>(geometry_.logicalWidth()) / static_cast<float>(std::max(width(), 1));
    yScale_ = static_cast<float>(geometry_.logicalHeight()) / static_cast<float>(std::max(height(), 1));
}

void CSimulationDlg::PlaceButtons()
{
    const QPoint shift = ColumnShift(size());
    startButton_.setGeometry(kStartRect.translated(shift));
    frontButton_.setGeometry(kFrontRect.translated(shift));
    backButton_.setGeometry(kBackRect.translated(shift));
    middleButton_.setGeometry(kMiddleRect.translated(shift));
}

QImage CSimulationDlg::RenderPicture() const
{
    QImage picture(size(), QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.fillRect(picture.rect(), palette::kPageBackground);
    if (running_)
        PaintBeams(painter);
    return picture;
}

void CSimulationDlg::PaintBeams(QPainter& painter) const
{
    const auto toPixel = [this](int x, int y) {
        return QPointF(static_cast<float>(x) / xScale_, static_cast<float>(y) / yScale_);
    };
    const std::size_t xStep = BeamStep(xScale_);
    const std::size_t yStep = BeamStep(yScale_);
    for (int direction : {kMiddle, kFront, kBack}) {  // the straight beams under the oblique ones
        if (!scanOn_[direction])
            continue;
        painter.setPen(QPen(kBeamColours[direction], 0));
        for (ScanAxis axis : {ScanAxis::X, ScanAxis::Y}) {
            const std::vector<LogicalBeam> beams = BeamsOf(geometry_, direction, axis);
            const std::size_t step = axis == ScanAxis::X ? xStep : yStep;
            for (std::size_t k = 0; k < beams.size(); k += step)
                painter.drawLine(toPixel(beams[k].fromX, beams[k].fromY), toPixel(beams[k].toX, beams[k].toY));
        }
    }
}

void CSimulationDlg::paintEvent(QPaintEvent*)
{
    QPainter(this).drawImage(0, 0, RenderPicture());
}

void CSimulationDlg::resizeEvent(QResizeEvent* event)
{
    PlaceButtons();
    // The beams keep filling a window that moved to another screen while running.
    if (running_)
        Measure();
    QDialog::resizeEvent(event);
}

void CSimulationDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        accept();
        return;
    case Qt::Key_Escape:
        reject();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

}  // namespace zorvane
