#include "widgets/Fonts.h"

#include <QStringList>

#include <algorithm>

namespace zorvane {
namespace {

QStringList Families(FontFace face)
{
    // The Windows face first, then the Debian package that stands in for it.
    switch (face) {
    case FontFace::Kai:
        return {QStringLiteral("KaiTi"), QStringLiteral("AR PL UKai CN")};
    case FontFace::Song:
        return {QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN")};
    case FontFace::Sans:
        break;
    }
    return {QStringLiteral("Segoe UI"), QStringLiteral("DejaVu Sans")};
}

// The average character width of these CJK faces is that of their half-width (Latin) glyphs, half the cell
// height; a requested width is met by stretching the face horizontally relative to that.
int StretchFor(int height, int width)
{
    constexpr int kMaxStretch = 4000;
    return std::clamp(width * 200 / height, 1, kMaxStretch);
}

}  // namespace

QFont MakeFont(FontFace face, int height, int width, int weight)
{
    QFont font;
    font.setFamilies(Families(face));
    if (face == FontFace::Sans) {
        font.setStyleHint(QFont::SansSerif);
    }
    font.setPixelSize(std::max(height, 1));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
    if (width > 0 && height > 0) {
        font.setStretch(StretchFor(height, width));
    }
    return font;
}

}  // namespace zorvane
