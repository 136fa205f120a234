#include "TestApplication.h"
#include "widgets/Artwork.h"
#include "widgets/CMybutton.h"

#include <QCursor>
#include <QEvent>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace zorvane {
namespace {

// The OK strip: four 75 x 25 pictures, the last one disabled.
constexpr int kStrip = 565;
constexpr QSize kPicture(75, 25);
const QColor kUnpainted(255, 0, 255);

class Button : public ::testing::Test {
protected:
    void SetUp() override { button.setGeometry(QRect(QPoint(10, 10), kPicture)); }

    void Load() { button.LoadBitmaps(kStrip, kPicture.height(), kPicture.width()); }

    // The button painted over a magenta canvas.
    QImage Rendered(QWidget& widget)
    {
        QImage canvas(widget.size(), QImage::Format_RGB32);
        canvas.fill(kUnpainted);
        widget.render(&canvas, QPoint(), QRegion(), QWidget::RenderFlags());
        return canvas;
    }

    static QImage Picture(int index)
    {
        return Artwork::Bitmap(kStrip).copy(QRect(QPoint(index * kPicture.width(), 0), kPicture)).convertToFormat(QImage::Format_RGB32);
    }

    void MoveMouseTo(QPoint point) { MoveMouseOver(button, point); }

    static void MoveMouseOver(CMybutton& target, QPoint point)
    {
        QMouseEvent move(QEvent::MouseMove, point, target.mapToGlobal(point), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(&target, &move);
    }

    void Press()
    {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), button.mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&button, &press);
    }

    QApplication& application = testing::TestApplication();  // before any widget
    CMybutton button;
};

TEST_F(Button, DrawsNothingBeforeItsBitmapsAreLoaded)
{
    const QImage rendered = Rendered(button);
    EXPECT_EQ(rendered.pixel(0, 0), kUnpainted.rgb());
    EXPECT_EQ(rendered.pixel(40, 12), kUnpainted.rgb());
    Load();
    EXPECT_EQ(Rendered(button), Picture(CMybutton::kNormal));
}

TEST_F(Button, ShowsThePictureOfItsState)
{
    Load();
    struct Case {
        const char* name;
        std::function<void()> enter;
        int picture;
    };
    const Case cases[] = {
        {"normal", [] {}, CMybutton::kNormal},
        {"hover", [this] { MoveMouseTo({5, 5}); }, CMybutton::kHover},
        {"pressed", [this] { Press(); }, CMybutton::kPressed},
        {"disabled", [this] { button.setEnabled(false); }, CMybutton::kDisabled},
        {"pinned and disabled", [this] { button.Pin(false); }, CMybutton::kPressed},
        {"unpinned", [this] { button.setEnabled(true); button.setDown(false); button.Unpin(false); }, CMybutton::kHover},
    };
    for (const Case& c : cases) {
        c.enter();
        EXPECT_EQ(button.PictureToShow(), c.picture) << c.name;
        EXPECT_EQ(Rendered(button), Picture(c.picture)) << c.name;
    }
}

TEST_F(Button, APinnedButtonKeepsThePressedPictureWhileHoveredAndAfterARelease)
{
    Load();
    button.Pin(false);
    MoveMouseTo({5, 5});
    EXPECT_EQ(button.PictureToShow(), CMybutton::kPressed);
    Press();
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(button.PictureToShow(), CMybutton::kPressed);
    button.Unpin(false);
    EXPECT_TRUE(button.hover());
    EXPECT_EQ(button.PictureToShow(), CMybutton::kHover);
}

TEST_F(Button, UnpinnedWithoutHoverShowsTheNormalPicture)
{
    Load();
    button.Pin(true);
    button.Unpin(true);
    EXPECT_EQ(button.PictureToShow(), CMybutton::kNormal);
}

TEST_F(Button, StretchesThePictureOverItsWholeArea)
{
    Load();
    button.resize(kPicture * 2);
    const QImage rendered = Rendered(button);
    EXPECT_EQ(rendered.pixel(0, 0), Picture(CMybutton::kNormal).pixel(0, 0));
    for (const QPoint corner : {QPoint(149, 0), QPoint(0, 49), QPoint(149, 49)})
        EXPECT_NE(rendered.pixel(corner), kUnpainted.rgb());
}

// Eats the leave events, so only the button's own timer can notice that the cursor has gone.
class NoLeaveEvents : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Leave; }
};

TEST_F(Button, TheHoverPictureGoesWhenTheCursorHasLeftWithoutALeaveEvent)
{
    QWidget window;
    window.resize(200, 100);
    auto* hovered = new CMybutton(&window);
    hovered->setGeometry(QRect(QPoint(10, 10), kPicture));
    hovered->LoadBitmaps(kStrip, kPicture.height(), kPicture.width());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    NoLeaveEvents noLeave;
    hovered->installEventFilter(&noLeave);

    QCursor::setPos(hovered->mapToGlobal(QPoint(5, 5)));
    MoveMouseOver(*hovered, {5, 5});
    ASSERT_TRUE(hovered->hover());
    QCursor::setPos(-500, -500);  // off every window: no mouse move reaches the button
    EXPECT_TRUE(QTest::qWaitFor([&] { return !hovered->hover(); }, 5000));
    EXPECT_EQ(hovered->PictureToShow(), CMybutton::kNormal);
    hovered->removeEventFilter(&noLeave);
}

}  // namespace
}  // namespace zorvane
