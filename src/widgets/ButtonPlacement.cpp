#include "widgets/ButtonPlacement.h"

#include "widgets/CMybutton.h"

#include <QString>

#include <cassert>

namespace zorvane {

void PlaceButton(CMybutton& button, int id, const QRect& rect, int strip, QSize picture)
{
    if (picture.isEmpty())
        picture = rect.size();
    button.setObjectName(QStringLiteral("id%1").arg(id));
    button.setGeometry(rect);
    button.LoadBitmaps(strip, picture.height(), picture.width());
}

void PlaceButtons(std::span<CMybutton> buttons, std::span<const ButtonPlace> places, QWidget& owner,
                  const std::function<void(int id)>& clicked)
{
    assert(buttons.size() == places.size());
    for (std::size_t index = 0; index < buttons.size(); ++index) {
        const ButtonPlace& place = places[index];
        CMybutton& button = buttons[index];
        button.setParent(&owner);
        PlaceButton(button, place.id, place.rect, place.strip, place.picture);
        QObject::connect(&button, &QAbstractButton::clicked, &owner, [clicked, id = place.id] { clicked(id); });
    }
}

}  // namespace zorvane
