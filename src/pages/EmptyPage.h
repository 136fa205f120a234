#pragma once

#include <QWidget>

namespace zorvane {

// What a page slot of the main window holds until its page is built: the bare page background.
class EmptyPage : public QWidget {
public:
    explicit EmptyPage(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace zorvane
