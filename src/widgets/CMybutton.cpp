#include "widgets/CMybutton.h"

#include "widgets/Artwork.h"

#include <QCursor>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>

namespace zorvane {

CMybutton::CMybutton(QWidget* parent)
    : QAbstractButton(parent)
{
    setMouseTracking(true);  // hover starts with a plain mouse move
    setFocusPolicy(Qt::NoFocus);
    hoverTimer_.setInterval(kHoverCheckMs);
    connect(&hoverTimer_, &QTimer::timeout, this, [this] { CheckCursorStillOver(); });
}

void CMybutton::LoadBitmaps(int bitmapId, int height, int width)
{
    // An unknown id leaves a null strip: the button is loaded all the same and shows nothing.
    strip_ = Artwork::Bitmap(bitmapId);
    stateHeight_ = height;
    stateWidth_ = width;
    loaded_ = true;
    update();
}

void CMybutton::Pin(bool passMouseMove) { SetForced(true, kPressed, passMouseMove); }

void CMybutton::Unpin(bool passMouseMove) { SetForced(false, kNormal, passMouseMove); }

void CMybutton::SetForced(bool forced, int state, bool passMouseMove)
{
    forced_ = forced;
    forcedState_ = state;
    passMouseMove_ = passMouseMove;
    repaint();
}

int CMybutton::PictureToShow() const
{
    if (forced_)
        return forcedState_;
    if (!isEnabled())
        return kDisabled;
    if (isDown())
        return kPressed;
    return hover_ || keyboardFocus_ ? kHover : kNormal;
}

void CMybutton::paintEvent(QPaintEvent*)
{
    if (!loaded_)
        return;
    const QRect source(PictureToShow() * stateWidth_, 0, stateWidth_, stateHeight_);
    if (!strip_.rect().contains(source))
        return;  // no such picture in this strip
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), strip_, source);
}

void CMybutton::mouseMoveEvent(QMouseEvent* event)
{
    if (rect().contains(event->position().toPoint()) && !hover_) {
        hover_ = true;
        update();
        hoverTimer_.start();
    }
    if (passMouseMove_)
        QAbstractButton::mouseMoveEvent(event);
}

void CMybutton::focusInEvent(QFocusEvent* event)
{
    const Qt::FocusReason reason = event->reason();
    keyboardFocus_ = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
    update();
    QAbstractButton::focusInEvent(event);
}

void CMybutton::focusOutEvent(QFocusEvent* event)
{
    keyboardFocus_ = false;
    update();
    QAbstractButton::focusOutEvent(event);
}

// A timer rather than the leave event: the hover picture goes even when the cursor leaves too fast for
// the button to hear about it.
void CMybutton::CheckCursorStillOver()
{
    if (rect().contains(mapFromGlobal(QCursor::pos())))
        return;
    hover_ = false;
    update();
    hoverTimer_.stop();
}

}  // namespace zorvane
