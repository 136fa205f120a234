#pragma once

#include <QFont>

namespace zorvane {

// The typefaces the windows use: Kai style (the "楷体" of the screens' captions and texts), Song style
// ("宋体"), and a plain sans-serif for Latin word marks (the program name in the logo).
enum class FontFace { Kai, Song, Sans };

// A font described the way the screens describe theirs: cell height in pixels, average character width in
// pixels (0 keeps the typeface's own proportions) and weight (400 normal, 700 bold).
// Every font carries a fallback family, so digits and Latin letters keep the CJK face's style.
QFont MakeFont(FontFace face, int height, int width = 0, int weight = 400);

}  // namespace zorvane
