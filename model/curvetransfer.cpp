// Curves travel between graphs and the model only by copying.
#include "datamodule.h"
#include "penstrokes.h"

#include <vector>

void TDataModule1::CaptureCurve() {
    if (!SourceGraph)
        return;
    ThermalCurve captured;
    float x = 0.0f, y = 0.0f;
    for (int cursor = SourceGraph->EnumPoints(0, &x, &y); cursor != 0;
         cursor = SourceGraph->EnumPoints(cursor, &x, &y))
        captured.Append(x, y);

    CurveHistory.push_back(std::move(CurrentCurve));
    if (CurveHistory.size() > kCurveHistoryLimit)
        CurveHistory.pop_front();
    CurrentCurve = std::move(captured);
}

void TDataModule1::DrawCurve() {
    if (!DisplayGraph)
        return;
    std::vector<FPOINT> points;
    points.reserve(static_cast<std::size_t>(CurrentCurve.PointCount()));
    for (std::size_t i = 1; i < CurrentCurve.Time.size(); ++i)
        points.push_back({CurrentCurve.Time[i], CurrentCurve.Temp[i]});
    DisplayGraph->Clear();
    drawPolyline(*DisplayGraph, points);
}
