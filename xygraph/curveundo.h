#pragma once

#include "pointstore.h"

#include <cstddef>
#include <optional>
#include <vector>

// Undo and redo of a graph's points, as whole states kept by value. The state
// after the last recorded change is the committed one; recording a change puts
// the committed state on the undo side and forgets what could be redone.
class CurveUndo {
public:
    using Shape = PointStore::Shape;
    // Steps kept; the oldest go first.
    static constexpr std::size_t kDepth = 200;

    // Starts afresh from `current`: nothing to undo or redo.
    void reset(Shape current);
    // False when `current` is the committed state.
    bool record(Shape current);
    // The state to show instead of `current`, or none when there is nothing
    // to go back or forth to. A change not yet recorded is recorded first, so
    // it can be redone.
    std::optional<Shape> undo(Shape current);
    std::optional<Shape> redo(Shape current);
    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }

private:
    Shape committed_;
    std::vector<Shape> undo_;
    std::vector<Shape> redo_;
};
