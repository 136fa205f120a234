#pragma once

#include "drawing/DrawStyle.h"
#include "drawing/StrokeStore.h"

#include <QImage>
#include <QSize>

#include <cstddef>

namespace zorvane {

// The drawing worker's own picture (the saved picture): the paper and every stroke painted so far.
// Each frame paints only the ink that came since the last one, so a frame costs the same however many
// strokes are finished or in progress; the picture is painted afresh from every stroke only when the
// style or the size changes or after a clear. One thread at a time.
class DrawingPicture {
public:
    struct Requests {
        QSize size;
        DrawStyle style;
        bool clear = false;  // forget every stroke first
    };

    // The next frame from `store` as `requests` ask; valid until the next call.
    const QImage& Compose(StrokeStore& store, const Requests& requests);

    // Stroke points painted since this object was made (a point that continues a line counts once),
    // which shows whether anything is painted twice.
    std::size_t paintedPoints() const { return paintedPoints_; }

private:
    void Paint(const std::vector<InkPiece>& pieces);

    QImage picture_;
    DrawStyle paintedStyle_;
    std::size_t paintedPoints_ = 0;
};

}  // namespace zorvane
