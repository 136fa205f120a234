#include "widgets/ButtonPlacement.h"

#include "widgets/CMybutton.h"

#include <QString>

namespace zorvane {

void PlaceButton(CMybutton& button, int id, const QRect& rect, int strip, QSize picture)
{
    if (picture.isEmpty())
        picture = rect.size();
    button.setObjectName(QStringLiteral("id%1").arg(id));
    button.setGeometry(rect);
    button.LoadBitmaps(strip, picture.height(), picture.width());
}

}  // namespace zorvane
