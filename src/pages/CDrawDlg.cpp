#include "pages/CDrawDlg.h"

#include "drawing/DotMode.h"
#include "widgets/Palette.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointingDevice>
#include <QScopeGuard>
#include <QScreen>
#include <QTouchEvent>

#include <cstring>

namespace zorvane {
namespace {

int TouchFlags(QEventPoint::State state)
{
    switch (state) {
    case QEventPoint::State::Pressed:
        return touch_flag::kDown;
    case QEventPoint::State::Updated:
        return touch_flag::kMove;
    case QEventPoint::State::Released:
        return touch_flag::kUp;
    default:
        return 0;  // a point that did not move adds nothing
    }
}

}  // namespace

CDrawDlg::CDrawDlg(const DrawSettings& settings, QWidget* parent, DrawingPointer pointer)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , settings_(settings)
    , pointer_(pointer)
{
    setObjectName(QStringLiteral("CDrawDlg"));
    setAttribute(Qt::WA_AcceptTouchEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);  // the frame covers the whole window
}

CDrawDlg::~CDrawDlg() = default;

void CDrawDlg::OnInitDialog()
{
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QScreen* shown = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    setGeometry(shown->geometry());
    setWindowState(Qt::WindowFullScreen);
    worker_ = std::make_unique<DrawWorker>(strokes_, size(), Style(), [this](const QImage& frame) { HandOver(frame); });
    screen_ = std::make_unique<ScreenOfWindow>(*this, [this](QSize size) { CoverScreen(size); });
}

void CDrawDlg::CoverScreen(QSize size)
{
    setGeometry(QRect(screen()->geometry().topLeft(), size));
    worker_->SetSize(size);
}

void CDrawDlg::OnTouchInput(StrokeStore::ContactId contact, QPoint at, int flags)
{
    strokes_.Touch(contact, at, flags);
    if (worker_)
        worker_->NotifyInput();
}

void CDrawDlg::HandOver(const QImage& frame)
{
    QImage& canvas = frames_.Canvas(frame.size());
    std::memcpy(canvas.bits(), frame.constBits(), static_cast<std::size_t>(frame.sizeInBytes()));
    frames_.Publish();
}

DrawStyle CDrawDlg::Style() const
{
    return {.lineWidth = settings_.lineWidth,
            .gridOn = settings_.gridOn != 0,
            .gridSpacing = settings_.gridSpacing,
            .penColour = settings_.penColour,
            .dotMode = ProcessDotMode().on,
            .paper = palette::kPageBackground,
            .gridLine = palette::kLine};
}

void CDrawDlg::done(int result)
{
    if (worker_)
        worker_->Stop();
    QDialog::done(result);
}

bool CDrawDlg::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:  // the contacts are lost: their strokes stay under way
        OnTouchEvent(static_cast<const QTouchEvent&>(*event));
        event->accept();
        return true;
    default:
        return QDialog::event(event);
    }
}

void CDrawDlg::OnTouchEvent(const QTouchEvent& event)
{
    for (const QEventPoint& point : event.points()) {
        if (const int flags = TouchFlags(point.state()))
            OnTouchInput(static_cast<StrokeStore::ContactId>(point.id()), point.position().toPoint(), flags);
    }
}

void CDrawDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    frames_.PaintNewest(painter, rect());
}

void CDrawDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        accept();  // done() ends the worker first
        break;
    case Qt::Key_C:
        worker_->RequestClear();
        break;
    case Qt::Key_X:
        OnSetupKey();
        break;
    case Qt::Key_Z:
        OnDotModeKey();
        break;
    default:
        break;  // Enter and every other key do nothing
    }
    event->accept();
}

// New settings repaint every stroke with them and leave dot mode.
void CDrawDlg::OnSetupKey()
{
    const std::optional<DrawSettings> chosen = setup_(this, settings_);
    if (!chosen || *chosen == settings_)
        return;
    settings_ = *chosen;
    ProcessDotMode().on = false;
    worker_->SetStyle(Style());
}

void CDrawDlg::OnDotModeKey()
{
    settings_.lineWidth = ProcessDotMode().Toggle(settings_.lineWidth);
    worker_->SetStyle(Style());
}

// Touch points that Qt also offers as mouse events are drawn as touch input already.
bool CDrawDlg::MouseDraws(const QMouseEvent& event) const
{
    const QPointingDevice* device = event.pointingDevice();
    return pointer_ == DrawingPointer::TouchAndMouse && device && device->type() == QInputDevice::DeviceType::Mouse;
}

void CDrawDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && MouseDraws(*event))
        OnTouchInput(kMouseContact, event->position().toPoint(), touch_flag::kDown);
}

void CDrawDlg::mouseMoveEvent(QMouseEvent* event)
{
    if ((event->buttons() & Qt::LeftButton) && MouseDraws(*event))
        OnTouchInput(kMouseContact, event->position().toPoint(), touch_flag::kMove);
}

void CDrawDlg::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && MouseDraws(*event))
        OnTouchInput(kMouseContact, event->position().toPoint(), touch_flag::kUp);
}

void RunDrawingTest(QWidget* parent, DrawingPointer pointer)
{
    // The global hot key still reaches the main window while the test runs: one test at a time.
    static bool running = false;
    if (running)
        return;
    running = true;
    const auto ended = qScopeGuard([] { running = false; });
    const DrawSettings opening{.lineWidth = 3, .gridOn = 0, .gridSpacing = 20, .penColour = palette::kRed};
    CDrawDlg drawing(opening, parent, pointer);
    drawing.OnInitDialog();
    drawing.exec();
}

}  // namespace zorvane
