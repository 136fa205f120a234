#include "drawing/StrokeStore.h"

#include <utility>

namespace zorvane {

void StrokeStore::Touch(ContactId contact, QPoint at, int flags)
{
    std::lock_guard guard(lock_);
    const auto [found, isNew] = contactIndex_.try_emplace(contact, contacts_.size());
    if (isNew)
        contacts_.emplace_back();
    const std::size_t contactIndex = found->second;
    Contact& touched = contacts_[contactIndex];
    if (flags & touch_flag::kDown) {
        touched.strokes.emplace_back().start = at;
        Changed(touched.strokes.back(), {contactIndex, touched.strokes.size() - 1});
        return;
    }
    // A lifted stroke is finished: what its contact reports before the next down belongs to no stroke.
    if (touched.strokes.empty() || touched.strokes.back().end)
        return;
    Stroke& stroke = touched.strokes.back();
    if (flags & touch_flag::kUp) {
        stroke.end = at;
    } else if (flags & touch_flag::kMove) {
        stroke.points.push_back(at);
        ++pointCount_;
    } else {
        return;
    }
    Changed(stroke, {contactIndex, touched.strokes.size() - 1});
}

void StrokeStore::Clear()
{
    std::lock_guard guard(lock_);
    contacts_.clear();
    contactIndex_.clear();
    changed_.clear();
    pointCount_ = 0;
}

std::vector<InkPiece> StrokeStore::TakeNewInk()
{
    std::lock_guard guard(lock_);
    std::vector<InkPiece> pieces;
    pieces.reserve(changed_.size());
    for (const StrokeRef ref : changed_) {
        if (std::optional<InkPiece> piece = NewInk(contacts_[ref.contact].strokes[ref.stroke]))
            pieces.push_back(std::move(*piece));
    }
    changed_.clear();
    return pieces;
}

std::vector<InkPiece> StrokeStore::TakeAllInk()
{
    std::lock_guard guard(lock_);
    std::vector<InkPiece> pieces;
    for (Contact& contact : contacts_) {
        for (Stroke& stroke : contact.strokes) {
            stroke.startPainted = false;
            stroke.paintedPoints = 0;
            stroke.endPainted = false;
            if (std::optional<InkPiece> piece = NewInk(stroke))
                pieces.push_back(std::move(*piece));
        }
    }
    changed_.clear();
    return pieces;
}

std::size_t StrokeStore::strokeCount() const
{
    std::lock_guard guard(lock_);
    std::size_t count = 0;
    for (const Contact& contact : contacts_)
        count += contact.strokes.size();
    return count;
}

std::size_t StrokeStore::pointCount() const
{
    std::lock_guard guard(lock_);
    return pointCount_;
}

void StrokeStore::Changed(Stroke& stroke, StrokeRef ref)
{
    if (!std::exchange(stroke.queued, true))
        changed_.push_back(ref);
}

// The path from the last point painted (or the start) through everything that came since.
std::optional<InkPiece> StrokeStore::NewInk(Stroke& stroke)
{
    stroke.queued = false;
    InkPiece piece;
    piece.fromStart = !stroke.startPainted;
    piece.path.push_back(stroke.paintedPoints == 0 ? stroke.start : stroke.points[stroke.paintedPoints - 1]);
    piece.path.insert(piece.path.end(), stroke.points.begin() + static_cast<std::ptrdiff_t>(stroke.paintedPoints),
                      stroke.points.end());
    if (stroke.end && !stroke.endPainted)
        piece.path.push_back(*stroke.end);
    stroke.startPainted = true;
    stroke.paintedPoints = stroke.points.size();
    stroke.endPainted = stroke.end.has_value();
    if (!piece.fromStart && piece.path.size() == 1)
        return std::nullopt;
    return piece;
}

}  // namespace zorvane
