#pragma once

// One graph point in world coordinates. Graphs hold points by pointer, so two
// points with equal coordinates are still distinct points.
struct FPOINT {
    float x = 0.0f;
    float y = 0.0f;
};
