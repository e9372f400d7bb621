#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QLineF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QRectF>
#include <QString>
#include <QTextItem>
#include <QTransform>

#include <vector>

// A paint device that keeps what is painted on it instead of pixels: every
// text with the box it takes and every straight line, each with the painter's
// transform at that moment, in the painter's own coordinates. Tests read the
// numbers a graph really draws from it, not from the layout's own lists.
class PaintRecorder : public QPaintDevice {
public:
    struct Text {
        QString text;
        QRectF box; // from the left end of the baseline up by the ascent
        QTransform transform;
    };
    struct Line {
        QLineF line;
        QTransform transform;
    };

    // `dpi` should be the screen's, so that fonts take the size they take there.
    PaintRecorder(QSize size, int dpiX, int dpiY) : size_(size), dpiX_(dpiX), dpiY_(dpiY) {}

    const std::vector<Text> &texts() const { return engine_.texts; }
    const std::vector<Line> &lines() const { return engine_.lines; }

    QPaintEngine *paintEngine() const override { return &engine_; }

protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
        case PdmWidth:
            return size_.width();
        case PdmHeight:
            return size_.height();
        case PdmWidthMM:
            return int(size_.width() * 25.4 / dpiX_);
        case PdmHeightMM:
            return int(size_.height() * 25.4 / dpiY_);
        case PdmDpiX:
        case PdmPhysicalDpiX:
            return dpiX_;
        case PdmDpiY:
        case PdmPhysicalDpiY:
            return dpiY_;
        case PdmNumColors:
            return 1 << 24;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    struct Engine : QPaintEngine {
        Engine() : QPaintEngine(AllFeatures) {}
        std::vector<Text> texts;
        std::vector<Line> lines;

        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState &) override {}
        Type type() const override { return User; }
        void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
        void drawImage(const QRectF &, const QImage &, const QRectF &,
                       Qt::ImageConversionFlags) override {}
        void drawTiledPixmap(const QRectF &, const QPixmap &, const QPointF &) override {}
        void drawRects(const QRectF *, int) override {}
        void drawRects(const QRect *, int) override {}
        void drawPath(const QPainterPath &) override {}
        void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
        void drawPolygon(const QPoint *, int, PolygonDrawMode) override {}
        void drawEllipse(const QRectF &) override {}
        void drawEllipse(const QRect &) override {}
        void drawPoints(const QPointF *, int) override {}
        void drawPoints(const QPoint *, int) override {}
        void drawLines(const QLineF *l, int count) override {
            for (int i = 0; i < count; ++i)
                lines.push_back({l[i], state->transform()});
        }
        void drawLines(const QLine *l, int count) override {
            for (int i = 0; i < count; ++i)
                lines.push_back({QLineF(l[i]), state->transform()});
        }
        void drawTextItem(const QPointF &p, const QTextItem &item) override {
            const QRectF box(p.x(), p.y() - item.ascent(), item.width(),
                             item.ascent() + item.descent());
            texts.push_back({item.text(), box, state->transform()});
        }
    };

    QSize size_;
    int dpiX_, dpiY_;
    mutable Engine engine_;
};
