#pragma once

#include "paintrecorder.h"
#include "xygraph.h"

#include <QApplication>
#include <QLocale>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <map>
#include <vector>

// The numbers a graph paints on its two axes, read from what reaches the
// paint device: its texts, told apart by where they stand against the axis
// lines it draws.
struct AxisNumbers {
    struct Number {
        double value;
        QRectF box;
    };
    std::vector<Number> vertical, horizontal; // in painting order
    std::vector<QRectF> titles;               // every text that is not a number
    QLineF verticalAxis, horizontalAxis;      // the longest such lines drawn
};

// The texts and lines of one painting (one transform), sorted into axes.
inline AxisNumbers sortAxisNumbers(const std::vector<PaintRecorder::Text> &texts,
                                   const std::vector<PaintRecorder::Line> &lines) {
    AxisNumbers out;
    for (const PaintRecorder::Line &l : lines) {
        const QLineF &line = l.line;
        if (line.x1() == line.x2() && std::fabs(line.dy()) > std::fabs(out.verticalAxis.dy()))
            out.verticalAxis = line;
        if (line.y1() == line.y2() && std::fabs(line.dx()) > std::fabs(out.horizontalAxis.dx()))
            out.horizontalAxis = line;
    }
    const double axisX = out.verticalAxis.x1(), axisY = out.horizontalAxis.y1();
    for (const PaintRecorder::Text &t : texts) {
        bool isNumber = false;
        const double value = QLocale().toDouble(t.text, &isNumber);
        if (!isNumber)
            out.titles.push_back(t.box);
        else if (t.box.right() <= axisX)
            out.vertical.push_back({value, t.box});
        else if (t.box.top() >= axisY)
            out.horizontal.push_back({value, t.box});
    }
    return out;
}

// What a graph paints, as its copies, the report and the screen draw it.
inline AxisNumbers paintedAxisNumbers(Txygraph &graph) {
    const QScreen *screen = QApplication::primaryScreen();
    PaintRecorder recorder(graph.size(), int(screen->logicalDotsPerInchX()),
                           int(screen->logicalDotsPerInchY()));
    QPainter painter(&recorder);
    graph.paintVector(painter);
    painter.end();
    return sortAxisNumbers(recorder.texts(), recorder.lines());
}

// The graphs of a painting that drew several, each in its own transform (the
// report scales and places every graph); texts drawn without one are left out.
inline std::vector<AxisNumbers> paintedGraphs(const PaintRecorder &recorder) {
    std::map<std::vector<qreal>,
             std::pair<std::vector<PaintRecorder::Text>, std::vector<PaintRecorder::Line>>>
        groups;
    auto key = [](const QTransform &m) {
        return std::vector<qreal>{m.m11(), m.m12(), m.m21(), m.m22(), m.dx(), m.dy()};
    };
    for (const auto &t : recorder.texts())
        if (!t.transform.isIdentity())
            groups[key(t.transform)].first.push_back(t);
    for (const auto &l : recorder.lines())
        if (!l.transform.isIdentity())
            groups[key(l.transform)].second.push_back(l);
    std::vector<AxisNumbers> out;
    for (const auto &[transform, content] : groups)
        if (!content.second.empty())
            out.push_back(sortAxisNumbers(content.first, content.second));
    return out;
}
