#include "curveundo.h"

#include <utility>

void CurveUndo::reset(Shape current) {
    committed_ = std::move(current);
    undo_.clear();
    redo_.clear();
}

bool CurveUndo::record(Shape current) {
    if (current == committed_)
        return false;
    if (undo_.size() == kDepth)
        undo_.erase(undo_.begin());
    undo_.push_back(std::exchange(committed_, std::move(current)));
    redo_.clear();
    return true;
}

std::optional<CurveUndo::Shape> CurveUndo::undo(Shape current) {
    record(std::move(current));
    if (undo_.empty())
        return std::nullopt;
    redo_.push_back(std::exchange(committed_, std::move(undo_.back())));
    undo_.pop_back();
    return committed_;
}

std::optional<CurveUndo::Shape> CurveUndo::redo(Shape current) {
    if (record(std::move(current)) || redo_.empty())
        return std::nullopt; // a fresh change leaves nothing to redo
    undo_.push_back(std::exchange(committed_, std::move(redo_.back())));
    redo_.pop_back();
    return committed_;
}
