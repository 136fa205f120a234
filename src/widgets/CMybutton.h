#pragma once

#include <QAbstractButton>
#include <QImage>
#include <QTimer>

namespace zorvane {

// The push button of every window: it draws only a picture from an image strip (normal, hover, pressed
// and, in four-picture strips, disabled, side by side), stretched to the button. It follows the cursor
// itself for the hover picture and can be pinned to one picture (the current page's navigation button).
// Buttons take no keyboard focus unless their owner allows it; one that the keyboard moved the focus to
// shows the hover picture (focus a window hands its first button on opening does not).
class CMybutton : public QAbstractButton {
public:
    enum Picture { kNormal = 0, kHover = 1, kPressed = 2, kDisabled = 3 };

    explicit CMybutton(QWidget* parent = nullptr);

    // Takes strip `bitmapId` (Artwork) with pictures of `width` x `height`; until then nothing is drawn.
    void LoadBitmaps(int bitmapId, int height, int width);

    // Pinning shows the pressed picture whatever the button's own state; unpinning returns to the normal
    // picture. Both repaint at once. `passMouseMove` decides whether mouse moves still reach the standard
    // button behaviour afterwards.
    void Pin(bool passMouseMove);
    void Unpin(bool passMouseMove);

    bool hover() const { return hover_; }
    bool pinned() const { return forced_; }
    // The picture index the next paint draws (the state a pinned button is forced to included).
    int PictureToShow() const;

    // How often the hover picture checks whether the cursor is still there.
    static constexpr int kHoverCheckMs = 50;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void CheckCursorStillOver();
    void SetForced(bool forced, int state, bool passMouseMove);

    bool loaded_ = false;
    QImage strip_;
    int stateHeight_ = 0;
    int stateWidth_ = 0;
    bool hover_ = false;
    bool keyboardFocus_ = false;
    bool passMouseMove_ = true;
    bool forced_ = false;
    int forcedState_ = kNormal;
    QTimer hoverTimer_;
};

}  // namespace zorvane
