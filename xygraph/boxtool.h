#pragma once

#include "graphoverlay.h"
#include "scalemap.h"

#include <vector>

// The part of a box under a pixel: outside every box, inside one (a press
// moves it), on an edge or at a corner (a press resizes it there).
enum class BoxZone { outside, inside, edge, corner };

// What the mouse would do at a pixel in box mode, as a cursor shape says it:
// draw a new box, move one, or resize along an edge or a diagonal ("fall"
// from top left to bottom right, "rise" from bottom left to top right).
enum class BoxCursor { draw, move, sizeHorizontal, sizeVertical, sizeFall, sizeRise };

// Which box a pixel hits and where.
struct BoxHit {
    int box = -1;       // its index, or -1 for none
    unsigned edges = 0; // BoxTool::Edge bits; none inside a box
    BoxZone zone() const;
};

// The left button on a graph's boxes: a press inside a box moves it, one on
// or near an edge or corner resizes it there, one on empty plot draws a new
// box; a press moved less than a few pixels is a click, which selects the box
// under it or none. Every value the mouse sets is the roundest within a
// couple of pixels, as the position box reads the cursor. Holds no box of its
// own but a copy of the boxes as they were at the press, to tell whether a
// drag changed them and to put them back when the drag is cancelled.
class BoxTool {
public:
    enum Edge : unsigned { left = 1, right = 2, bottom = 4, top = 8 };

    // Pixels from an edge that still take it (less for a small box, whose
    // middle third always moves it).
    static constexpr int kReach = 4;
    // A press that moved less than this many pixels (in both directions) is a click.
    static constexpr int kClickPixels = 4;
    // The smallest box the mouse makes or leaves, in pixels each way.
    static constexpr int kMinPixels = 5;
    // Pixels of a moved box that stay inside the plot each way (all of a
    // smaller box), so that it cannot be dragged out of reach.
    static constexpr int kKeepPixels = 8;
    // Values snap to the roundest within this many pixels.
    static constexpr int kSnapPixels = 2;

    // The selected box's edges and corners first, so its handles stay within
    // reach under another box; then the boxes from the topmost (last) down.
    static BoxHit hitTest(const GraphOverlay &overlay, const ScaleMap &map, int x, int y);
    static BoxCursor cursorFor(const BoxHit &hit);
    // What a press at (x, y) would do, or while pressed, what the press does.
    BoxCursor cursor(const GraphOverlay &overlay, const ScaleMap &map, int x, int y) const;

    // A left press in the plot: selects the box it hits.
    void press(GraphOverlay &overlay, const ScaleMap &map, int x, int y);
    // A move with the button down; true when the boxes changed.
    bool drag(GraphOverlay &overlay, const ScaleMap &map, int x, int y);
    // Ends the press; true when the boxes differ from those at the press. A
    // click on empty plot selects none.
    bool release(GraphOverlay &overlay, const ScaleMap &map, int x, int y);
    bool active() const { return mode_ != Mode::idle; }
    // Ends a press without completing it: the boxes and the selection go
    // back to what they were at the press.
    void cancel(GraphOverlay &overlay);
    // Ends a press whose boxes were replaced (by the host): nothing to restore.
    void forget() { mode_ = Mode::idle; }

private:
    enum class Mode { idle, move, resize, draw };

    bool beyondClick(int x, int y) const;

    Mode mode_ = Mode::idle;
    int box_ = -1;         // the box moved or resized, or the one drawn (-1 until it exists)
    unsigned edges_ = 0;   // the edges a resize moves
    TPoint pressPixel_;    // where the press was
    FPOINT pressWorld_;    // the world value under it
    FPOINT anchor_;        // a drawn box's fixed corner
    OverlayBox original_;  // the box as it was at the press
    bool started_ = false; // the press has moved beyond a click
    std::vector<OverlayBox> before_;
    int selectedBefore_ = -1;
};
