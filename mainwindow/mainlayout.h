#pragma once

// Where the main window's graphs and annotation box go when the window is
// resized. The rule was made for a window frame of 8 × 27 pixels around the
// client area, so it is given the frame's outer size.
namespace mainlayout {

inline constexpr int kFrameWidth = 8;
inline constexpr int kFrameHeight = 27;

struct Box {
    int left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const Box &, const Box &) = default;
};

struct Layout {
    Box graph1; // the thermal history
    Box graph2; // the calculated time
    int groupBoxWidth = 0;
    int memoWidth = 0;
};

// `outerWidth` and `outerHeight` include the frame; `emissionEditTop` and
// `groupBoxLeft` are where those controls stand. Halving truncates.
inline Layout arrange(int outerWidth, int outerHeight, int emissionEditTop, int groupBoxLeft) {
    Layout l;
    const int top = emissionEditTop + 46;
    const int height = outerHeight - 223;
    const int width = outerWidth / 2 - 20;
    l.graph1 = {8, top, width, height};
    l.graph2 = {l.graph1.left + l.graph1.width + 15, top, width, height};
    l.groupBoxWidth = outerWidth - groupBoxLeft - 16;
    l.memoWidth = l.groupBoxWidth - 16;
    return l;
}

} // namespace mainlayout
