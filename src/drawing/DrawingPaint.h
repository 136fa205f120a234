#pragma once

#include "drawing/DrawStyle.h"
#include "drawing/StrokeStore.h"

#include <vector>

class QImage;

namespace zorvane {

// The drawing test's painting, a function of what it is given; any thread, on a picture of its own.
// The paper: the whole picture in the background colour, and the grid if it is on (one-pixel lines
// at every multiple of the spacing inside the picture).
void PaintPaper(QImage& picture, const DrawStyle& style);
// Pieces of strokes over what the picture holds, with the style's pen; in dot mode also a filled dot
// around every point new in a piece. Strokes share one opaque pen, so the order of pieces and how a
// stroke is cut into pieces do not change the picture.
void PaintInk(QImage& picture, const DrawStyle& style, const std::vector<InkPiece>& pieces);

}  // namespace zorvane
