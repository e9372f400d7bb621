#pragma once

#include "curveundo.h"
#include "graphcore.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QKeyEvent;
class QMenu;
class QMimeData;
class QPainter;

// Keys and mouse buttons held during a mouse event.
struct TShiftState {
    Qt::KeyboardModifiers keys;
    Qt::MouseButtons buttons;
};

// The graph control: shows single points and lines in a world window with
// optional scales, lets the user drag points and axis ends, and carries a
// pop-up menu for copying and editing. All arithmetic lives in GraphCore and
// its parts; this class paints and routes Qt events.
//
// Hosts fill it with Clear, PenUp, MoveTo and PenDown, read it back with
// EnumPoints, learn of user edits through pointsEdited (and of box edits
// through boxesEdited), connect to the
// OnClick / OnMouseDown / OnMouseUp / OnMouseMove signals (emitted before the
// control's own handling), and append menu entries with AddMenu.
class Txygraph : public QWidget, public CurveGraph, private GraphView {
    Q_OBJECT

public:
    using MenuHandler = std::function<void(QAction *sender)>;

    explicit Txygraph(QWidget *parent = nullptr);
    ~Txygraph() override;

    // Position and size inside the parent, in pixels.
    int Left() const { return x(); }
    int Top() const { return y(); }
    int Width() const { return width(); }
    int Height() const { return height(); }

    // --- properties (setters of the world window store only) ---------------
    QColor getsheetcolor() const { return sheetcolor_; }
    void setsheetcolor(const QColor &color) { sheetcolor_ = color; }
    float getxzero() const { return core_.map().getxzero(); }
    float getyzero() const { return core_.map().getyzero(); }
    float getxmax() const { return core_.map().getxmax(); }
    float getymax() const { return core_.map().getymax(); }
    void setxzero(float v) { core_.map().setxzero(v); }
    void setyzero(float v) { core_.map().setyzero(v); }
    void setxmax(float v) { core_.map().setxmax(v); }
    void setymax(float v) { core_.map().setymax(v); }
    TSideScale FSideScales() const { return core_.map().FSideScales(); }
    void SetSideScales(TSideScale value); // repaints the parent window
    TSideScale FTicks() const { return core_.FTicks(); }
    void SetTicks(TSideScale value) { core_.SetTicks(value); }
    TSideScale FAutoAxis() const { return core_.fitter().FAutoAxis(); }
    void SetAutoAxis(TSideScale value) { core_.fitter().SetAutoAxis(value); }
    QString FHLabel() const { return QString::fromStdString(core_.FHLabel()); }
    QString FVLabel() const { return QString::fromStdString(core_.FVLabel()); }
    void SetHLabel(const QString &text); // then calcborders
    void SetVLabel(const QString &text); // then calcborders
    // Horizontal numbers and the position box in time before `present`
    // (none: the x values themselves); repaints.
    void setTimeBeforePresent(std::optional<double> present);
    std::optional<double> timeBeforePresent() const { return core_.timeBeforePresent(); }
    bool Fbarmode() const { return core_.Fbarmode(); }
    // Throws tarvel::Error, changing nothing, when a line would need too many bars.
    void Setbarmode(bool v) { core_.Setbarmode(v); }
    bool Feditable() const { return editable_; }
    void Seteditable(bool v);
    // Set when the axes were refitted after points changed; reading clears it.
    // Hosts that must know of user edits connect to pointsEdited instead.
    bool Fpointschanged() { return core_.fitter().Fpointschanged(); }
    void Setpointschanged(bool v) { core_.fitter().Setpointschanged(v); }
    QMenu *PopupMenu() const { return popup_; }

    // --- points in and out ----------------------------------------------------
    void PenUp() override { core_.PenUp(); }
    void PenDown() override { core_.PenDown(); }
    void SetLineLook(const LineLook &look) override { core_.SetLineLook(look); }
    void MoveTo(float x, float y) override { core_.MoveTo(x, y); }
    void Clear() override { core_.Clear(); }
    int EnumPoints(int cursor, float *x, float *y) const override {
        return core_.EnumPoints(cursor, x, y);
    }
    int EnumLines(int j, int *first) const { return core_.store().EnumLines(j, first); }
    bool deletepoint(FPOINT *p) { return core_.deletepoint(p); }

    // --- what the graph shows besides its points -----------------------------------
    // Bands, lines of their own and boxes, in world coordinates (GraphOverlay),
    // drawn under the points in every picture of the graph: the screen, the
    // bitmap, SVG and PDF copies, Save Image and paintVector. The text and SYLK
    // copies hold the points only, Clear removes the points only, and the
    // points' undo history leaves them alone. Every setter repaints; it throws
    // tarvel::Error naming the first bad item, changing nothing.
    void setBands(std::vector<OverlayBand> bands) { core_.setBands(std::move(bands)); }
    void clearBands() { core_.setBands({}); }
    void setOverlayLines(std::vector<OverlayLine> lines) {
        core_.setOverlayLines(std::move(lines));
    }
    void clearOverlayLines() { core_.setOverlayLines({}); }
    // Never announced by boxesEdited. The selection stays while its index
    // still names a box; a box drag still running ends.
    void setBoxes(std::vector<OverlayBox> boxes) { core_.setBoxes(std::move(boxes)); }
    const std::vector<OverlayBox> &boxes() const { return core_.overlay().boxes(); }
    // The selected box's index, or -1 for none; selectBox(-1) selects none.
    int selectedBox() const { return core_.overlay().selected(); }
    void selectBox(int index) { core_.selectBox(index); }
    // Box mode (off by default): the left button in the plot draws a new box
    // on empty plot, moves a box pressed inside, resizes one pressed on or
    // near an edge or corner, and a click selects a box or none; the cursor
    // shows which. Delete or Backspace (once a click gave the graph the focus)
    // and the menu's "Delete Box" remove the selected box. Points are then
    // edited only through the menu. Switching it off cancels a box drag.
    bool boxMode() const { return core_.boxMode(); }
    void setBoxMode(bool on);

    // --- transforms, axes and hit tests ------------------------------------------
    TPoint w2cc(FPOINT p) const;
    FPOINT cc2w(TPoint q) const;
    void calcborders();
    void calcaxis() { core_.fitter().calcaxis(core_.store(), core_.map()); }
    // Hosts call this when a curve arrived: axes that do not hold every point
    // grow to round values; a curve inside the window leaves it as it is.
    void growToFit() { core_.growToFit(); }
    void fitToData() { core_.fitToData(); }
    int winpos(int x, int y) const;
    FPOINT *nearpoint(int x, int y) const;
    FPOINT *nearpoint(const FPOINT *p, bool before) const {
        return core_.store().neighbour(p, before);
    }
    int nearline(int x, int y) const; // index of the line, or -1

    // --- painting ------------------------------------------------------------------
    // Asks for a full repaint (the scales, the points and the position box).
    void Invalidate() { core_.invalidate(); }
    void PaintAxis(TSideScale side, QPainter &canvas) const;
    void PaintPoints(QPainter &canvas) const;
    void PaintPos(); // on the control's own canvas, shown at once
    // The control's current pixels (painted first if it never was).
    QImage canvasImage();
    // The graph as drawn, without background or position box, in the
    // control's pixel coordinates: a vector painter (SVG, PDF, a printer) gets
    // lines and text, not a bitmap.
    void paintVector(QPainter &painter);

    // --- mouse (Qt's events call these; x and y are client pixels) ----------------
    void MouseDown(Qt::MouseButton button, TShiftState shift, int x, int y);
    void MouseMove(TShiftState shift, int x, int y);
    void MouseUp(Qt::MouseButton button, TShiftState shift, int x, int y);
    void Click();

    // --- pop-up menu and copying ----------------------------------------------------
    QAction *AddMenu(const QString &caption, MenuHandler handler);
    void ClearMenu(); // leaves "Copy" alone
    QAction *findmenu(const QString &caption) const;
    // Enables the point entries for the press position, and adds "Fit to
    // Data", "Axes…" and "Save Image…".
    void PopupClick();
    void AddPopup();
    void DelPopup();
    void CopyPopup();
    // "Axes…": the four ends in a modal dialog; OK sets them all at once.
    void AxesPopup();
    // "Save Image…": a file chooser, then saveImage.
    void SaveImagePopup();
    // The graph as shown, in the format the name's extension asks for: PNG is
    // the bitmap on the screen without the position box, SVG the vector
    // drawing, PDF the vector drawing on a page the size of the graph. The
    // file is replaced only once the picture is complete. Throws
    // tarvel::Error for a name without one of these extensions and when the
    // file cannot be written, naming it.
    void saveImage(const QString &fileName);
    std::string points2text() const; // the locale's decimal separator
    std::string points2sylk() const; // always "."
    // The four copy forms: a bitmap, SVG, plain text and SYLK (caller owns it).
    QMimeData *copyMimeData();
    QByteArray svgCopy();
    QImage bitmapCopy(); // the screen's pixels without the position box
    QByteArray pdfCopy();

    // --- undo ----------------------------------------------------------------------
    // Once set, Ctrl+Z and Ctrl+Shift+Z anywhere in the graph's window (but in
    // a text field, which keeps its own) and the menu's "Undo" and "Redo" step
    // back and forth through the changes of the points; each step is announced
    // by pointsEdited like the user's own edits. The graph records the user's
    // edits itself.
    void setUndoable();
    // A host that replaced the points (a table, a sample curve, a paste) makes
    // that one step; a host that shows another data set starts afresh.
    void recordEdit();
    void forgetEdits();
    // False when there was nothing to undo or redo.
    bool undoEdit();
    bool redoEdit();
    QAction *undoAction() const { return undoAction_; }
    QAction *redoAction() const { return redoAction_; }
    // A block of two columns copied from a spreadsheet or a text file (see
    // tarvel::pastedPoints) as the graph's one line: a user edit, undoable and
    // announced by pointsEdited. Throws, changing nothing, for other text.
    void pasteLine(const QString &text);

    GraphCore &core() { return core_; }
    const GraphCore &core() const { return core_; }

signals:
    // The user changed the points: a drag that left a point elsewhere, "Add
    // Point", "Delete Point", a paste, an undo or a redo. Emitted once the
    // edit is complete, whenever
    // the graph is painted; filling the graph from code never emits it.
    void pointsEdited();
    // The user changed the boxes: a drag that moved, resized or drew one, or a
    // deletion. Emitted once the boxes hold the edit; setting them from code
    // never emits it. Box edits are not part of the points' undo history.
    void boxesEdited();
    void OnClick(Txygraph *sender);
    void OnMouseDown(Txygraph *sender, Qt::MouseButton button, TShiftState shift, int x, int y);
    void OnMouseUp(Txygraph *sender, Qt::MouseButton button, TShiftState shift, int x, int y);
    void OnMouseMove(Txygraph *sender, TShiftState shift, int x, int y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool event(QEvent *event) override;

private:
    struct MenuDef {
        QString caption;
        bool editonly = false;
        int index = 0;
    };

    // GraphView: what the arithmetic asks of the screen.
    void requestRepaint() override;
    void paintPos() override { PaintPos(); }
    void drawDragFigure(bool erase) override;
    void showZoneCursor(int zone) override;
    void showBoxCursor(BoxCursor shape) override;

    void syncSize() const;
    void ensureViewEntries();
    void updateBoxEntry();
    bool deleteBox(); // the selected box, in box mode; true when one went
    bool isBoxDeleteKey(const QKeyEvent *event) const;
    void insertEntry(int at, const QString &caption, std::function<void()> run);
    void userEdited(); // records the edit, then announces it
    void updateUndoActions();
    bool stepEdit(bool back); // an undo, or a redo
    void beginCanvasPainter(QPainter &painter) const;
    bool ensureCanvas();
    void paintCanvas();
    void canvasChanged();
    int fontHeightValue() const;

    mutable GraphCore core_;
    QColor sheetcolor_ = Qt::white;
    bool editable_ = false;
    QMenu *popup_ = nullptr;
    std::vector<MenuDef> menudefs_;
    CurveUndo undo_;
    QAction *undoAction_ = nullptr; // both none until setUndoable
    QAction *redoAction_ = nullptr;

    // The control's canvas: a whole repaint draws into it, and the position
    // box and the drag sketch draw on top of it between repaints.
    QImage canvas_;
    bool canvasValid_ = false;
    bool fullPending_ = true;
    bool blitOnly_ = false;
    bool leftPressed_ = false;
    // The middle button pans: where the mouse was at the last step.
    bool panning_ = false;
    QPoint panLast_;
};
