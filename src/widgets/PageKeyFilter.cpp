#include "widgets/PageKeyFilter.h"

#include <QEvent>
#include <QKeyEvent>
#include <QObject>
#include <QWidget>

namespace zorvane {
namespace {

class PageKeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        return key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter;
    }
};

}  // namespace

void SwallowPageEndingKeys(QWidget& page)
{
    page.installEventFilter(new PageKeyFilter(&page));  // owned by the page
}

}  // namespace zorvane
