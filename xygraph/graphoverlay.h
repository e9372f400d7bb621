#pragma once

#include "fpoint.h"
#include "worldextent.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// A filled area between a lower and an upper polyline over the same x values:
// (x[i], lower[i]) and (x[i], upper[i]). Drawn semi-transparent in its colour
// (0xRRGGBB), so that what lies under it stays visible.
struct OverlayBand {
    std::vector<float> x;
    std::vector<float> lower;
    std::vector<float> upper;
    std::uint32_t rgb = 0x000000;
};

// A polyline of its own colour (0xRRGGBB) and pen width in pixels.
struct OverlayLine {
    std::vector<FPOINT> points;
    std::uint32_t rgb = 0x000000;
    int width = 1;
};

// A rectangle from x0 to x1 and from y0 to y1 (x0 <= x1, y0 <= y1).
struct OverlayBox {
    float x0 = 0.0f, x1 = 0.0f, y0 = 0.0f, y1 = 0.0f;
    float width() const { return x1 - x0; }
    float height() const { return y1 - y0; }
    friend bool operator==(const OverlayBox &, const OverlayBox &) = default;
};

// What a graph shows besides its points, in world coordinates: bands, lines
// and boxes, one box possibly selected. The point tools never touch it and the
// point copies (text, SYLK) leave it out; the pictures show it.
class GraphOverlay {
public:
    // Each setter throws tarvel::Error naming the first bad item (values that
    // are not finite, band columns of different lengths, a line width below
    // 1, a box whose lower end lies above its upper end) and changes nothing.
    const std::vector<OverlayBand> &bands() const { return bands_; }
    void setBands(std::vector<OverlayBand> bands);
    const std::vector<OverlayLine> &lines() const { return lines_; }
    void setLines(std::vector<OverlayLine> lines);
    const std::vector<OverlayBox> &boxes() const { return boxes_; }
    // The selection stays while its index still names a box.
    void setBoxes(std::vector<OverlayBox> boxes);

    // The selected box's index, or -1 for none.
    int selected() const { return selected_; }
    // Any index that names no box selects none.
    void select(int index);

    // --- box edits (the box tool's; boxes given are valid) -----------------
    void replaceBox(std::size_t index, OverlayBox box) { boxes_.at(index) = box; }
    // Appends the box and returns its index.
    int addBox(OverlayBox box);
    // Removes the box; the selection follows the boxes behind it, and is none
    // when it was this one.
    void removeBox(std::size_t index);

    // Everything drawn, in world units; nothing when the overlay is empty.
    std::optional<WorldExtent> extent() const;

private:
    std::vector<OverlayBand> bands_;
    std::vector<OverlayLine> lines_;
    std::vector<OverlayBox> boxes_;
    int selected_ = -1;
};
