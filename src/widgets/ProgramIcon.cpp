#include "widgets/ProgramIcon.h"

#include "widgets/Artwork.h"

#include <QPixmap>

namespace zorvane {

QIcon ProgramIconSet()
{
    QIcon icon;
    for (const int size : Artwork::ProgramIconSizes())
        icon.addPixmap(QPixmap::fromImage(Artwork::ProgramIcon(size)));
    return icon;
}

}  // namespace zorvane
