#include "drawing/DrawingPicture.h"

#include "drawing/DrawingPaint.h"

namespace zorvane {

const QImage& DrawingPicture::Compose(StrokeStore& store, const Requests& requests)
{
    if (requests.clear) {
        store.Clear();
        picture_ = QImage();
    }
    if (picture_.isNull() || picture_.size() != requests.size || paintedStyle_ != requests.style) {
        picture_ = QImage(requests.size, QImage::Format_RGB32);
        paintedStyle_ = requests.style;
        PaintPaper(picture_, paintedStyle_);
        Paint(store.TakeAllInk());
    } else {
        Paint(store.TakeNewInk());
    }
    return picture_;
}

void DrawingPicture::Paint(const std::vector<InkPiece>& pieces)
{
    PaintInk(picture_, paintedStyle_, pieces);
    for (const InkPiece& piece : pieces)
        paintedPoints_ += piece.path.size() - (piece.fromStart ? 0 : 1);
}

}  // namespace zorvane
