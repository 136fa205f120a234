#pragma once

// A page's controls by their ids (their object names, "id1000"), as the page tests reach them.

#include <QString>
#include <QTest>
#include <QWidget>

#include <stdexcept>
#include <string>

namespace zorvane::testing {

template <typename Control>
Control& ControlOf(const QWidget& page, int id)
{
    auto* control = page.findChild<Control*>(QStringLiteral("id%1").arg(id));
    if (!control)
        throw std::runtime_error("no control " + std::to_string(id));
    return *control;
}

inline void ClickControl(const QWidget& page, int id)
{
    auto& button = ControlOf<QWidget>(page, id);
    QTest::mouseClick(&button, Qt::LeftButton, {}, button.rect().center());
}

}  // namespace zorvane::testing
