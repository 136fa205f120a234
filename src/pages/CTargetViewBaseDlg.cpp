#include "pages/CTargetViewBaseDlg.h"

#include "calibration/TouchHold.h"
#include "pages/CSaveCaldataDlg.h"
#include "widgets/ButtonPlacement.h"
#include "widgets/Palette.h"
#include "widgets/ScreenOfWindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QScreen>

#include <tuple>

namespace zorvane {
namespace {

constexpr int kExitBitmap = 558;
constexpr int kResetBitmap = 566;

QPoint ToQt(ScreenPoint p) { return {p.x, p.y}; }

ScreenPoint PositionOf(const QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    return {p.x(), p.y()};
}

}  // namespace

CTargetViewBaseDlg::CTargetViewBaseDlg(QWidget* parent, TargetPointerFactory pointer, Layout layout)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , layout_(layout)
    , owner_(parent ? *parent->window() : *this)
    , exitButton_(this)
    , resetButton_(this)
{
    setWindowModality(Qt::ApplicationModal);
    setCursor(Qt::CrossCursor);
    for (auto [button, id, bitmap] : {std::tuple{&exitButton_, kExitButton, kExitBitmap},
                                      std::tuple{&resetButton_, kResetButton, kResetBitmap}}) {
        PlaceButton(*button, id, {0, 0, kButtonWidth, kButtonHeight}, bitmap);
        button->setCursor(Qt::ArrowCursor);  // the screen's crosshair stops at the buttons
    }
    connect(&exitButton_, &QAbstractButton::clicked, this, [this] { Finish(); });
    connect(&resetButton_, &QAbstractButton::clicked, this, [this] { Reset(); });

    pointer_ = MakeTargetPointer(std::move(pointer), {
        .press = [this](ScreenPoint at) { run().touch().Press(at); },
        .move = [this](ScreenPoint to) { run().touch().Move(to); },
        .release = [this] { run().touch().Release(); },
        .repaint = [this] { update(); },
    });
    savePrompt_ = [this] { return CSaveCaldataDlg(this).exec(); };

    tickTimer_.setInterval(TouchHold::kTickMs);
    connect(&tickTimer_, &QTimer::timeout, this, [this] { Tick(); });
    animationTimer_.setInterval(layout_.animationMs);
    connect(&animationTimer_, &QTimer::timeout, this, [this] { Animate(); });
    animationTimer_.start();

    CoverScreen();
    screenOfOwner_ = std::make_unique<ScreenOfWindow>(owner_, [this](QSize) { RecalculateFrame(); });
}

CTargetViewBaseDlg::~CTargetViewBaseDlg() = default;

void CTargetViewBaseDlg::CoverScreen()
{
    const QScreen* screen = owner_.screen() ? owner_.screen() : QGuiApplication::primaryScreen();
    const QRect area = screen->geometry();
    screen_ = {area.width(), area.height()};
    setGeometry(area);
}

void CTargetViewBaseDlg::Start()
{
    if (run().Begin(GetDeviceProtocol()) != link_status::kOk) {
        Close();  // hidden already, unless a shown screen was restarting
        return;
    }
    CoverScreen();
    showFullScreen();
    tickTimer_.start();
    const TargetScreenButtons places = layout_.buttons(screen_);
    exitButton_.move(ToQt(places.exit));
    resetButton_.move(ToQt(places.reset));
    update();
}

void CTargetViewBaseDlg::RecalculateFrame()
{
    CoverScreen();
    if (!isVisible())
        return;
    tickTimer_.stop();
    Start();
}

void CTargetViewBaseDlg::Tick()
{
    if (!isVisible() || prompting_)
        return;
    switch (run().Tick(screen_)) {
    case TickOutcome::Idle:
        return;
    case TickOutcome::TargetReached:
        update();
        return;
    case TickOutcome::Finish:
        Finish();
        return;
    case TickOutcome::WriteRecord:
        if (run().WriteCorrection(GetDeviceProtocol()) != link_status::kOk)
            Close();
        return;
    }
}

void CTargetViewBaseDlg::Finish()
{
    int answer = save_answer::kNotAsked;
    if (run().changed()) {
        answer = AskAboutSaving();
        if (answer == save_answer::kCancel) {
            run().BackToFirstTarget();
            update();
            return;
        }
    }
    run().End(GetDeviceProtocol(), answer);
    if (refresh_)
        refresh_();
    Close();
}

int CTargetViewBaseDlg::AskAboutSaving()
{
    prompting_ = true;
    const int answer = savePrompt_();
    prompting_ = false;
    return answer;
}

void CTargetViewBaseDlg::Reset() { run().Reset(GetDeviceProtocol()); }

void CTargetViewBaseDlg::Close()
{
    tickTimer_.stop();
    pointer_->MouseReleased();  // a finger still held is gone with the screen
    hide();
}

QImage CTargetViewBaseDlg::RenderPicture()
{
    QImage picture(screen_.width, screen_.height, QImage::Format_RGB32);
    picture.fill(palette::kPageBackground);
    QPainter painter(&picture);
    PaintScreen(painter);
    pointer_->PaintOverlay(painter);
    return picture;
}

void CTargetViewBaseDlg::DrawCross(QPainter& painter, const TargetCross& cross)
{
    for (const ScreenLine& line : {cross.horizontal, cross.vertical})
        painter.drawLine(ToQt(line.from), ToQt(line.to));
}

void CTargetViewBaseDlg::DrawDisc(QPainter& painter, ScreenPoint centre, int radius)
{
    painter.setBrush(painter.pen().color());
    painter.drawEllipse(ToQt(centre), radius, radius);
}

void CTargetViewBaseDlg::DrawCircle(QPainter& painter, ScreenPoint centre, int radius)
{
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(ToQt(centre), radius, radius);
}

void CTargetViewBaseDlg::Repaint(const ScreenRect& area)
{
    update(QRect(ToQt(area.topLeft), ToQt(area.bottomRight)));
}

void CTargetViewBaseDlg::paintEvent(QPaintEvent*)
{
    QPainter(this).drawImage(0, 0, RenderPicture());
}

// Enter, the help key and Alt+F4 end here with every other key.
void CTargetViewBaseDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        Finish();
}

void CTargetViewBaseDlg::closeEvent(QCloseEvent* event) { event->ignore(); }

void CTargetViewBaseDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        pointer_->MousePressed(PositionOf(event));
}

// Only a move with the left button alone held, and neither Shift nor Ctrl, is a touch moving.
void CTargetViewBaseDlg::mouseMoveEvent(QMouseEvent* event)
{
    const bool keyHeld = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
    if (event->buttons() == Qt::LeftButton && !keyHeld)
        pointer_->MouseMoved(PositionOf(event));
}

void CTargetViewBaseDlg::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        pointer_->MouseReleased();
}

}  // namespace zorvane
