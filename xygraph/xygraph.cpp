#include "xygraph.h"

#include "graphpainter.h"
#include "numbertext.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <cmath>

namespace {

TShiftState shiftOf(const QMouseEvent *event) {
    return {event->modifiers(), event->buttons()};
}

// Client pixel of an event; fractional positions (scaled screens) round down.
QPoint pixelOf(const QMouseEvent *event) {
    const QPointF p = event->position();
    return {int(std::floor(p.x())), int(std::floor(p.y()))};
}

} // namespace

Txygraph::Txygraph(QWidget *parent) : QWidget(parent), popup_(new QMenu(this)) {
    core_.setView(this);
    syncSize();
    setMouseTracking(true); // the position box follows the cursor without a button
    setContextMenuPolicy(Qt::PreventContextMenu); // the right press opens our menu itself
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(popup_, &QMenu::aboutToShow, this, &Txygraph::PopupClick);
    ClearMenu();
}

Txygraph::~Txygraph() {
    core_.setView(nullptr);
}

void Txygraph::syncSize() const {
    core_.map().setSize(width(), height());
}

// --- properties -----------------------------------------------------------------------

void Txygraph::SetSideScales(TSideScale value) {
    core_.map().SetSideScales(value);
    core_.invalidate();
    if (QWidget *parent = parentWidget())
        parent->update();
}

void Txygraph::SetHLabel(const QString &text) {
    core_.storeHLabel(text.toStdString());
    calcborders();
}

void Txygraph::SetVLabel(const QString &text) {
    core_.storeVLabel(text.toStdString());
    calcborders();
}

void Txygraph::calcborders() {
    const QFontMetrics fm(font(), this);
    core_.calcborders(fm.height(), graphpaint::widestCharacter(fm, FVLabel()));
    core_.setScaleMetrics(graphpaint::scaleMetrics(fm, fontHeightValue()),
                          tarvel::localeDecimalSeparator());
}

void Txygraph::setBoxMode(bool on) {
    // The keys that delete a box reach the graph only with the focus.
    if (on && focusPolicy() == Qt::NoFocus)
        setFocusPolicy(Qt::ClickFocus);
    core_.setBoxMode(on);
}

void Txygraph::setTimeBeforePresent(std::optional<double> present) {
    if (present == core_.timeBeforePresent())
        return;
    core_.setTimeBeforePresent(present);
    core_.invalidate();
}

TPoint Txygraph::w2cc(FPOINT p) const {
    syncSize();
    return core_.map().w2cc(p);
}

FPOINT Txygraph::cc2w(TPoint q) const {
    syncSize();
    return core_.map().cc2w(q);
}

int Txygraph::winpos(int x, int y) const {
    syncSize();
    return core_.map().winpos(x, y);
}

FPOINT *Txygraph::nearpoint(int x, int y) const {
    syncSize();
    return hittest::nearpoint(core_.store(), core_.map(), x, y);
}

int Txygraph::nearline(int x, int y) const {
    syncSize();
    return hittest::nearline(core_.store(), core_.map(), x, y);
}

// --- painting ---------------------------------------------------------------------------

int Txygraph::fontHeightValue() const {
    return -QFontInfo(font()).pixelSize();
}

void Txygraph::beginCanvasPainter(QPainter &painter) const {
    painter.setFont(font());
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white); // a fresh canvas's brush
}

void Txygraph::PaintAxis(TSideScale side, QPainter &canvas) const {
    syncSize();
    graphpaint::PaintAxis(core_, side, canvas, tarvel::localeDecimalSeparator());
}

void Txygraph::PaintPoints(QPainter &canvas) const {
    syncSize();
    graphpaint::PaintPoints(core_, canvas);
}

// Makes the canvas match the control; false when it had to be recreated.
bool Txygraph::ensureCanvas() {
    syncSize();
    const qreal dpr = devicePixelRatioF();
    const QSize pixels = size() * dpr;
    if (canvas_.size() == pixels && canvas_.devicePixelRatio() == dpr && !canvas_.isNull())
        return true;
    canvas_ = QImage(pixels.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    canvas_.setDevicePixelRatio(dpr);
    canvasValid_ = false;
    return false;
}

void Txygraph::paintCanvas() {
    ensureCanvas();
    QPainter painter(&canvas_);
    beginCanvasPainter(painter);
    graphpaint::Paint(core_, painter, sheetcolor_, rect(), tarvel::localeDecimalSeparator());
    canvasValid_ = true;
}

void Txygraph::PaintPos() {
    if (!ensureCanvas() || !canvasValid_) {
        core_.invalidate(); // nothing to draw on yet; the repaint draws the box
        return;
    }
    QPainter painter(&canvas_);
    beginCanvasPainter(painter);
    graphpaint::PaintPos(core_, painter, tarvel::localeDecimalSeparator());
    painter.end();
    canvasChanged();
}

void Txygraph::drawDragFigure(bool erase) {
    if (!ensureCanvas() || !canvasValid_)
        return;
    QPainter painter(&canvas_);
    beginCanvasPainter(painter);
    graphpaint::PaintDragFigure(core_, painter, erase);
    painter.end();
    canvasChanged();
}

// Drawing on the canvas between repaints: show it without a whole repaint,
// unless one was asked for anyway.
void Txygraph::canvasChanged() {
    if (!fullPending_)
        blitOnly_ = true;
    update();
}

void Txygraph::requestRepaint() {
    fullPending_ = true;
    blitOnly_ = false;
    update();
}

QImage Txygraph::canvasImage() {
    if (!ensureCanvas() || !canvasValid_) {
        core_.settleAxes();
        paintCanvas();
    }
    return canvas_;
}

void Txygraph::paintEvent(QPaintEvent * /*event*/) {
    if (!ensureCanvas() || !canvasValid_ || !blitOnly_)
        paintCanvas();
    fullPending_ = false;
    blitOnly_ = false;
    QPainter painter(this);
    painter.drawImage(0, 0, canvas_);
}

void Txygraph::showZoneCursor(int zone) {
    switch (zone) {
    case ScaleMap::zoneHScale:
        setCursor(Qt::SplitHCursor);
        break;
    case ScaleMap::zoneVScale:
        setCursor(Qt::SplitVCursor);
        break;
    case ScaleMap::zonePlot:
        setCursor(Qt::UpArrowCursor);
        break;
    default:
        setCursor(Qt::ArrowCursor);
        break;
    }
}

void Txygraph::showBoxCursor(BoxCursor shape) {
    switch (shape) {
    case BoxCursor::draw:
        setCursor(Qt::CrossCursor);
        break;
    case BoxCursor::move:
        setCursor(Qt::SizeAllCursor);
        break;
    case BoxCursor::sizeHorizontal:
        setCursor(Qt::SizeHorCursor);
        break;
    case BoxCursor::sizeVertical:
        setCursor(Qt::SizeVerCursor);
        break;
    case BoxCursor::sizeFall:
        setCursor(Qt::SizeFDiagCursor);
        break;
    case BoxCursor::sizeRise:
        setCursor(Qt::SizeBDiagCursor);
        break;
    }
}

// --- mouse ---------------------------------------------------------------------------------

void Txygraph::MouseDown(Qt::MouseButton button, TShiftState shift, int x, int y) {
    syncSize();
    core_.edit().recordPress(x, y);
    emit OnMouseDown(this, button, shift, x, y);
    if (button == Qt::RightButton) {
        core_.menuPress(x, y);
        popup_->popup(mapToGlobal(QPoint(x, y))); // PopupClick runs as it shows
        return;
    }
    if (button == Qt::MiddleButton) {
        panning_ = true;
        panLast_ = QPoint(x, y);
        return;
    }
    if (button == Qt::LeftButton)
        core_.pressDrag(x, y);
}

void Txygraph::MouseMove(TShiftState shift, int x, int y) {
    syncSize();
    emit OnMouseMove(this, shift, x, y);
    if (panning_) {
        core_.panBy(x - panLast_.x(), y - panLast_.y());
        panLast_ = QPoint(x, y);
        return;
    }
    core_.MouseMove(x, y);
}

void Txygraph::MouseUp(Qt::MouseButton button, TShiftState shift, int x, int y) {
    syncSize();
    emit OnMouseUp(this, button, shift, x, y);
    if (button == Qt::MiddleButton) {
        panning_ = false;
        return;
    }
    const GraphCore::Released released = core_.release(x, y);
    if (released.pointsMoved)
        userEdited();
    if (released.boxesEdited)
        emit boxesEdited();
}

void Txygraph::Click() {
    emit OnClick(this);
    core_.Click();
}

// A new size is a new picture: a refit still due is settled for it.
void Txygraph::resizeEvent(QResizeEvent * /*event*/) {
    syncSize();
    core_.settleAxes();
}

// The borders are measured in the graph's font: a new font moves them.
void Txygraph::changeEvent(QEvent *event) {
    if (event->type() == QEvent::FontChange) {
        calcborders();
        core_.invalidate();
    }
    QWidget::changeEvent(event);
}

void Txygraph::wheelEvent(QWheelEvent *event) {
    // One notch (120 eighths of a degree) zooms in or out by a fifth.
    constexpr double kNotchFactor = 0.8;
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    syncSize();
    const QPointF p = event->position();
    core_.zoomAt(int(std::floor(p.x())), int(std::floor(p.y())),
                 std::pow(kNotchFactor, delta / 120.0));
    event->accept();
}

void Txygraph::mousePressEvent(QMouseEvent *event) {
    const QPoint p = pixelOf(event);
    if (event->button() == Qt::LeftButton)
        leftPressed_ = true;
    MouseDown(event->button(), shiftOf(event), p.x(), p.y());
}

void Txygraph::mouseMoveEvent(QMouseEvent *event) {
    const QPoint p = pixelOf(event);
    MouseMove(shiftOf(event), p.x(), p.y());
}

void Txygraph::mouseReleaseEvent(QMouseEvent *event) {
    const QPoint p = pixelOf(event);
    // A left press and release on the control is a click, reported first.
    if (event->button() == Qt::LeftButton) {
        const bool click = leftPressed_ && rect().contains(p);
        leftPressed_ = false;
        if (click)
            Click();
    }
    MouseUp(event->button(), shiftOf(event), p.x(), p.y());
}

// --- keys ------------------------------------------------------------------------------------

bool Txygraph::isBoxDeleteKey(const QKeyEvent *event) const {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    return core_.boxMode() && mods == Qt::NoModifier &&
           (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace);
}

bool Txygraph::deleteBox() {
    if (!core_.boxMode() || !core_.deleteSelectedBox())
        return false;
    emit boxesEdited();
    return true;
}

void Txygraph::keyPressEvent(QKeyEvent *event) {
    if (isBoxDeleteKey(event) && deleteBox()) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool Txygraph::event(QEvent *event) {
    // A window's shortcut on Delete must not take the key from a selected box.
    if (event->type() == QEvent::ShortcutOverride && selectedBox() >= 0 &&
        isBoxDeleteKey(static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}
