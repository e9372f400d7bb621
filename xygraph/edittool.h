#pragma once

#include "fpoint.h"
#include "scalemap.h"

class PointStore;

// Which point or line lies under a pixel. Distances are in world units.
namespace hittest {

// The nearest point within a box of 2.5 % of the world window around the
// pixel; of several equally near, the first in enumeration order.
FPOINT *nearpoint(const PointStore &store, const ScaleMap &map, int x, int y);
// Index of the line passing nearest to the pixel, or -1 when none passes
// within 100 world units of detour.
int nearline(const PointStore &store, const ScaleMap &map, int x, int y);

} // namespace hittest

// The mouse as an editing tool: a press below or left of the plot stretches
// that axis, a press in the plot grabs the nearest point and drags it, and the
// position box reads out the cursor. The menu's point edits work at the last
// press position. Holds no point of its own but the cursor readout; whoever
// removes points tells it through forget.
class EditTool {
public:
    // Pixels a drag must cover before an axis end follows it.
    static constexpr int kStretchMinMove = 10;

    void recordPress(int x, int y) { downpos_ = {float(x), float(y)}; }
    // A left or middle press: chooses what the following moves do.
    void press(const PointStore &store, const ScaleMap &map, int x, int y);
    // What a move does for the button held down: stretch an axis end (true
    // when it moved, so a repaint is due), or show the point under the cursor.
    bool pressedMove(const PointStore &store, ScaleMap &map, int x, int y);
    // The readout for the zone under the cursor; returns that zone.
    int hover(const ScaleMap &map, int x, int y);
    // Where the dragged point goes for the cursor at (x, y): between its
    // neighbours in x, inside the window vertically (and horizontally at a
    // line's ends or for a single point).
    FPOINT dragTarget(const ScaleMap &map, int x, int y) const;
    // A dragged point taken above the plot or right of it carries that axis
    // along instead of stopping at its end.
    bool growsAxis(const ScaleMap &map, int x, int y) const;
    // Where the point goes there: as dragTarget, without the upper ends.
    FPOINT growingTarget(int x, int y) const;
    struct Release {
        bool moved = false;  // a dragged point was left elsewhere
        bool undone = false; // a point dropped outside the plot went back
    };
    Release release(PointStore &store, const ScaleMap &map, int x, int y);

    int dragmode() const { return dragmode_; }
    FPOINT downpos() const { return downpos_; }
    bool dragging() const { return dragging_; }
    FPOINT *dragpoint() const { return dragpoint_; }
    FPOINT *dragprev() const { return dragprev_; }
    FPOINT *dragnext() const { return dragnext_; }
    const FPOINT *readout() const { return readout_; }
    bool highlight() const { return highlight_; }
    void setReadout(const FPOINT *p) { readout_ = p; }

    // --- the menu's point edits, at the last press position ------------------
    bool addPointEnabled(const ScaleMap &map) const;
    FPOINT *pressedPoint(const PointStore &store, const ScaleMap &map) const;
    // "Add Point": true when it added a point.
    bool addPoint(PointStore &store, const ScaleMap &map);

    // --- points going away ---------------------------------------------------
    void forget(const FPOINT *p); // before p is removed
    void forgetAll();             // before every point is removed
    void refreshNeighbours(const PointStore &store);

private:
    TPoint pressPixel() const { return {int(downpos_.x), int(downpos_.y)}; }

    int dragmode_ = 0;
    FPOINT downpos_;
    bool dragging_ = false;
    FPOINT *dragpoint_ = nullptr;
    FPOINT *dragprev_ = nullptr;
    FPOINT *dragnext_ = nullptr;
    FPOINT dragsaved_;
    ScaleMap pressMap_; // the window when the drag began
    const FPOINT *readout_ = nullptr;
    FPOINT cursorpoint_;
    bool highlight_ = false;
};
