// Curves travel between graphs and the model only by copying.
#include "datamodule.h"

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
    CurveGraph &graph = *DisplayGraph;
    graph.Clear();
    graph.PenUp();
    if (CurrentCurve.PointCount() >= 1) {
        graph.MoveTo(CurrentCurve.Time[1], CurrentCurve.Temp[1]);
        graph.PenDown();
        for (std::int32_t i = 2; i < CurrentCurve.Count(); ++i)
            graph.MoveTo(CurrentCurve.Time[static_cast<std::size_t>(i)],
                         CurrentCurve.Temp[static_cast<std::size_t>(i)]);
    }
    graph.PenUp();
}
