#include "tform7.h"

#include "about.h"
#include "application.h"
#include "datamodule.h"
#include "dialogseam.h"
#include "findhistories.h"
#include "grainpanel.h"
#include "grainswindow.h"
#include "historycheck.h"
#include "jobinputs.h"
#include "mainicons.h"
#include "mainlayout.h"
#include "numbertext.h"
#include "penstrokes.h"
#include "resultsdialog.h"
#include "settingsstore.h"
#include "tableedit.h"
#include "textbox.h"
#include "tform3.h"
#include "tform5.h"
#include "xygraph.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace {

void setupGraph(Txygraph *graph, const QString &vLabel) {
    graph->setxmax(100);
    graph->setymax(100);
    graph->SetSideScales(sscBoth);
    graph->SetTicks(sscBoth);
    graph->SetAutoAxis(sscNone);
    graph->SetHLabel(QStringLiteral("Real Time (Myr)"));
    graph->SetVLabel(vLabel);
}

// The tool tip names the shortcut too ("Recalculate (F5)").
QAction *addTool(QToolBar *bar, const QString &icon, const QString &hint, const QKeySequence &key) {
    QAction *action = bar->addAction(themedIcon(icon), hint);
    action->setShortcut(key);
    action->setToolTip(key.isEmpty() ? hint
                                     : QStringLiteral("%1 (%2)").arg(
                                           hint, key.toString(QKeySequence::NativeText)));
    return action;
}

} // namespace

TForm7::TForm7(QWidget *parent) : QWidget(parent) {
    SetDocument(QString(), false);
    move(133, 227);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolButton1 = addTool(ToolBar1, QStringLiteral("document-save"), QStringLiteral("Save to File"),
                          QKeySequence::Save);
    ToolButton2 = addTool(ToolBar1, QStringLiteral("document-open"), QStringLiteral("Open File"),
                          QKeySequence::Open);
    ToolButton3 = addTool(ToolBar1, QStringLiteral("application-exit"),
                          QStringLiteral("Quit Program"), QKeySequence(Qt::CTRL | Qt::Key_Q));
    ToolBar1->addSeparator();
    ToolButton5 = addTool(ToolBar1, QStringLiteral("view-refresh"), QStringLiteral("Recalculate"),
                          QKeySequence(Qt::Key_F5));
    ToolButton5->setEnabled(false);
    ToolButton6 = addTool(ToolBar1, QStringLiteral("configure"), QStringLiteral("Edit Constants"),
                          QKeySequence());
    parentsAction = ToolBar1->addAction(QStringLiteral("Parents\u2026"));
    parentsAction->setToolTip(
        QStringLiteral("The grain's U, Th and Sm and their stopping distances"));
    if (auto *button = qobject_cast<QToolButton *>(ToolBar1->widgetForAction(parentsAction)))
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    ToolBar1->addSeparator();
    ToolButton8 = addTool(ToolBar1, QStringLiteral("document-print"),
                          QStringLiteral("Print Report"), QKeySequence(Qt::CTRL | Qt::Key_P));
    PrintMenu = new QMenu(this);
    PrintPreview1 = PrintMenu->addAction(QStringLiteral("Print Preview\u2026"));
    PrintPreview1->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    addAction(PrintPreview1); // its shortcut works while the menu is closed
    ToolButton8->setMenu(PrintMenu);
    if (auto *button = qobject_cast<QToolButton *>(ToolBar1->widgetForAction(ToolButton8)))
        button->setPopupMode(QToolButton::MenuButtonPopup);
    ToolBar1->addSeparator();
    FindButton = ToolBar1->addAction(QStringLiteral("Find Histories\u2026"));
    FindButton->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    FindButton->setToolTip(QStringLiteral("Which thermal histories the sample's grains allow (%1)")
                               .arg(FindButton->shortcut().toString(QKeySequence::NativeText)));
    GrainsButton = ToolBar1->addAction(QStringLiteral("Grains"));
    GrainsButton->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    GrainsButton->setToolTip(QStringLiteral("A sample's grains against the history (%1)")
                                 .arg(GrainsButton->shortcut().toString(QKeySequence::NativeText)));
    if (auto *button = qobject_cast<QToolButton *>(ToolBar1->widgetForAction(GrainsButton)))
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    ToolBar1->addSeparator();
    helpMenu = new QMenu(this);
    aboutAction = helpMenu->addAction(QStringLiteral("About Tarvel"));
    helpAction = ToolBar1->addAction(QStringLiteral("Help"));
    helpAction->setMenu(helpMenu);
    if (auto *button = qobject_cast<QToolButton *>(ToolBar1->widgetForAction(helpAction))) {
        button->setPopupMode(QToolButton::InstantPopup);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
    for (QAction *action : actions() + ToolBar1->actions())
        action->setShortcutContext(Qt::WindowShortcut);
    // The tool bar is 25 pixels high by design; a taller one on this desktop
    // pushes the rest down rather than covering it.
    const int barHeight = std::max(25, ToolBar1->sizeHint().height());
    contentTop_ = barHeight - 25;
    const int dy = contentTop_;

    grainPanel = new GrainPanel({.captions = {QStringLiteral("Sphere radius (µm)"),
                                              QStringLiteral("Outer zone radius (µm)"),
                                              QStringLiteral("Inner zone radius (µm)"),
                                              QStringLiteral("Emission distance (µm)")},
                                 .captionLeft = 24,
                                 .firstEdit = QRect(136, 40 + dy, 81, 21),
                                 .minEditWidth = 56,
                                 .sphere = QRect(250, 30 + dy, 120, 120),
                                 .warningPos = QPoint(224, 160 + dy)},
                                this);
    grainPanel->lendPieces(
        {&Label1, &Label2, &Label3, &Label4},
        {&Edit_Radius, &Edit_Outer_Radius, &Edit_Inner_Radius, &Edit_Emission_Dist},
        {&Shape1, &Shape2, &Shape3}, &Label8);

    GroupBox1 = new QGroupBox(QStringLiteral("Annotation"), this);
    GroupBox1->setGeometry(416, 32 + dy, 377, 113);
    Memo1 = new TextBox(GroupBox1);
    Memo1->setGeometry(8, 16, 361, 89);
    Memo1->setToolTip(
        QStringLiteral("Enter whatever you would like to remeber about this data set"));

    xygraph1 = new Txygraph(this);
    xygraph1->setGeometry(8, 192 + dy, 385, 249);
    setupGraph(xygraph1, QStringLiteral("Temperature (°C)"));
    xygraph1->Seteditable(true);
    xygraph1->setToolTip(QStringLiteral("Right click for options"));
    xygraph1->AddMenu(QStringLiteral("Table Edit"), guarded([this] { TableEditClick(); }));
    // Two columns copied from a spreadsheet become the history: from the menu,
    // or Ctrl+V once the graph was clicked.
    const auto pasteHistory =
        guarded([this] { xygraph1->pasteLine(QGuiApplication::clipboard()->text()); });
    xygraph1->AddMenu(QStringLiteral("Paste"), pasteHistory);
    xygraph1->setFocusPolicy(Qt::ClickFocus);
    connect(new QShortcut(QKeySequence::Paste, xygraph1, nullptr, nullptr, Qt::WidgetShortcut),
            &QShortcut::activated, this, pasteHistory);
    xygraph1->setUndoable();
    xygraph2 = new Txygraph(this);
    xygraph2->setGeometry(408, 192 + dy, 385, 249);
    setupGraph(xygraph2, QStringLiteral("Calc Time (Myr)"));
    ResultsEntry =
        xygraph2->AddMenu(QStringLiteral("Results\u2026"), guarded([this] { ResultsClick(); }));
    ResultsEntry->setEnabled(false);
    const auto toggleTimeBeforePresent =
        guarded([this] { SetTimeBeforePresent(!timeBeforePresent_); });
    timeBeforePresentEntry1 =
        xygraph1->AddMenu(QStringLiteral("Time Before Present"), toggleTimeBeforePresent);
    timeBeforePresentEntry2 =
        xygraph2->AddMenu(QStringLiteral("Time Before Present"), toggleTimeBeforePresent);
    for (QAction *entry : {timeBeforePresentEntry1, timeBeforePresentEntry2})
        entry->setCheckable(true);
    ResultLine = new QLabel(this);
    ResultLine->setTextInteractionFlags(Qt::TextSelectableByMouse); // to copy the number
    ResultLine->setWordWrap(true);

    ToolBar1->setGeometry(0, 0, 802, barHeight);
    resize(802, 445 + dy);
    // Small enough for a laptop screen, large enough that the fixed controls
    // and the warning stay whole and the graphs keep room for their scales.
    constexpr int kMinGraphHeight = 140;
    constexpr int kMinMemoWidth = 120;
    setMinimumSize(
        std::max(grainPanel->geometry().right(), GroupBox1->x() + kMinMemoWidth + 16 + 16) + 8,
        xygraph1->y() + kMinGraphHeight + 8);

    connect(grainPanel, &GrainPanel::entryChanged, this, guarded([this] { Edit_NEigenChange(); }));
    connect(xygraph1, &Txygraph::pointsEdited, this, guarded([this] { CurveChanged(); }));
    connect(Memo1, &QPlainTextEdit::textChanged, this, guarded([this] { Memo1Change(); }));
    connect(ToolButton1, &QAction::triggered, this, guarded([this] { ToolButton1Click(); }));
    connect(ToolButton2, &QAction::triggered, this, guarded([this] { ToolButton2Click(); }));
    connect(ToolButton3, &QAction::triggered, this, guarded([this] { ToolButton3Click(); }));
    connect(ToolButton5, &QAction::triggered, this, guarded([this] { Button1Click(); }));
    connect(ToolButton6, &QAction::triggered, this, guarded([this] { ToolButton6Click(); }));
    connect(parentsAction, &QAction::triggered, this, guarded([this] { ParentsClick(); }));
    connect(ToolButton8, &QAction::triggered, this, guarded([this] { ToolButton8Click(); }));
    connect(PrintPreview1, &QAction::triggered, this, guarded([this] { PrintPreviewClick(); }));
    connect(GrainsButton, &QAction::triggered, this, guarded([this] { GrainsClick(); }));
    connect(FindButton, &QAction::triggered, this, guarded([this] { FindClick(); }));
    connect(aboutAction, &QAction::triggered, this, guarded([this] { showAboutTarvel(this); }));
}

TForm7::~TForm7() {
    // FormDestroy: the closing check, which does nothing once the program ends.
    if (ClosingCheck && !programEnding())
        ClosingCheck();
}

// --- the grain entries ---------------------------------------------------------------

// The panel has checked the entries and redrawn the grain.
void TForm7::Edit_NEigenChange() {
    GeometryChanged = true;
    MarkModified();
    ToolButton5->setEnabled(grainPanel->passes());
    ClearResult();
}

// Whatever clears the result (an edited history, another data set) may change
// what the grains are predicted from too.
void TForm7::ClearResult() {
    xygraph2->Clear();
    xygraph2->Invalidate();
    SetResults({});
    ShowResultLine();
    ShowTimeAxes();
    if (GrainsDialog)
        GrainsDialog->historyChanged();
    if (FindDialog)
        FindDialog->historyChanged();
}

void TForm7::SetTimeBeforePresent(bool on) {
    timeBeforePresent_ = on;
    for (QAction *entry : {timeBeforePresentEntry1, timeBeforePresentEntry2})
        entry->setChecked(on);
    ShowTimeAxes();
}

// Both time axes in time since the history's start, or in millions of years
// before its last point, the present; only their numbers and titles change.
void TForm7::ShowTimeAxes() {
    const std::vector<FPOINT> history = graphPoints(*xygraph1);
    std::optional<double> present;
    if (timeBeforePresent_ && !history.empty())
        present = history.back().x;
    for (Txygraph *graph : {xygraph1, xygraph2}) {
        graph->SetHLabel(present ? QStringLiteral("Time before present (Ma)")
                                 : QStringLiteral("Real Time (Myr)"));
        graph->setTimeBeforePresent(present);
    }
}

void TForm7::GrainsClick() {
    if (!GrainsDialog)
        return;
    GrainsDialog->show();
    GrainsDialog->raise();
    GrainsDialog->activateWindow();
}

void TForm7::FindClick() {
    if (!FindDialog)
        return;
    FindDialog->show();
    FindDialog->raise();
    FindDialog->activateWindow();
}

void TForm7::SetResults(resultrows::Table rows) {
    results_ = std::move(rows);
    ResultsEntry->setEnabled(!results_.empty());
}

void TForm7::ResultsClick() {
    if (results_.empty())
        return; // nothing to show (the entry is disabled then)
    ResultsDialog dialog(results_, this);
    dialogs().execModal(dialog);
}

// Six significant digits of the last point's result: the age a reader takes
// from the window without reading it off a scale.
void TForm7::ShowResultLine() {
    const bool precise = Model && Model->ModelData.Method == ModelMethod::Precise;
    ResultLine->setText(QString::fromStdString(
        resultrows::lastPointText(results_, precise, tarvel::localeDecimalSeparator())));
    placeResultLine();
}

// Over the result graph's top edge: the geometry warning that may share the
// row is shown only while the result graph, and so this line, is empty.
void TForm7::placeResultLine() {
    // As wide as the graph: a longer line (a data set with parents) wraps
    // into a second row above it.
    const int width = xygraph2->width();
    ResultLine->setFixedSize(width,
                             ResultLine->text().isEmpty() ? 0 : ResultLine->heightForWidth(width));
    ResultLine->move(xygraph2->x(), xygraph2->y() - ResultLine->height() - 2);
}

// --- Recalculate ------------------------------------------------------------------------

void TForm7::Button1Click() {
    if (GeometryChanged && !RecalculateGeometry())
        return;
    const bool done = RunAgeCalculation(CaptureDrawnCurve());
    // A run that failed or was stopped left the graph and its rows empty.
    const auto &ages = GammaPage->LastAgeResult();
    SetResults(
        done ? resultrows::ageTable(ages.history, ages.ages, ages.helium, Model->ModelData.Kinetics)
             : resultrows::Table());
    RedrawCurve();
    ShowResultLine();
    ShowTimeAxes();
    if (GrainsDialog)
        GrainsDialog->historyChanged();
    // A run the user stopped leaves Recalculate ready for another try.
    ToolButton5->setEnabled(!done);
}

// Stores the edits and computes the coefficients (the geometry page stores
// them in the data set); false when the user stopped the run or it failed,
// leaving the geometry marked as changed.
bool TForm7::RecalculateGeometry() {
    StoreEdits();
    GeometryPage->move(pos());
    if (dialogs().execModal(*GeometryPage) != QDialog::Accepted)
        return false;
    GeometryChanged = false;
    return true;
}

// The curve as drawn becomes the data set's current curve. A history the
// calculation would refuse is refused here, where the message can name the
// user's own points rather than the steps made from them.
std::vector<FPOINT> TForm7::CaptureDrawnCurve() {
    Model->SourceGraph = xygraph1;
    Model->CaptureCurve();
    const ThermalCurve &drawn = Model->GetCurrentCurve();
    checkDrawnHistory(std::span(drawn.Time).subspan(1), std::span(drawn.Temp).subspan(1));
    return curvePoints(drawn);
}

// The ages of the drawn history by the data set's method, split into the bar
// steps that are the calculation's time steps, as tarvel-calc does; built
// before the page shows, so a history too long to split stops here.
bool TForm7::RunAgeCalculation(std::vector<FPOINT> drawn) {
    GammaPage->Input = [input = ageJobInput(*Model, std::move(drawn))] {
        return CalculationJob::Input(input);
    };
    GammaPage->move(pos());
    GammaPage->TargetGraph = xygraph2;
    GammaPage->NextForm = this;
    return dialogs().execModal(*GammaPage) == QDialog::Accepted;
}

// The curve as the calculation read it: one line through its points in order.
void TForm7::RedrawCurve() {
    Model->DisplayGraph = xygraph1;
    Model->DrawCurve();
    xygraph1->Invalidate();
}

// --- reactions to the graph ------------------------------------------------------------

// The thermal history no longer matches the result: the user edited its points
// (the graph says so at the end of each edit) or its table.
void TForm7::CurveChanged() {
    MarkModified();
    ToolButton5->setEnabled(true);
    ClearResult();
}

// --- table editing ----------------------------------------------------------------------

void TForm7::TableEditClick() {
    Model->SourceGraph = xygraph1;
    Model->CaptureCurve();
    TableDialog->Fill(Model->GetCurrentCurve());
    if (dialogs().execModal(*TableDialog) != QDialog::Accepted)
        return;
    const auto &points = TableDialog->Points();
    if (!points || points->empty())
        return; // an empty table has nothing to apply
    TableToGraph(*points);
}

void TForm7::TableToGraph(const std::vector<tarvel::TablePoint> &points) {
    std::vector<FPOINT> line;
    line.reserve(points.size());
    for (const tarvel::TablePoint &p : points)
        line.push_back({p.time, p.temp});
    xygraph1->Clear();
    drawPolyline(*xygraph1, line);
    xygraph1->Invalidate();
    xygraph1->growToFit();
    xygraph1->recordEdit();
    CurveChanged();
}

// --- window events ------------------------------------------------------------------------

void TForm7::FormResize() {
    const auto l = mainlayout::arrange(
        width() + mainlayout::kFrameWidth, height() - contentTop_ + mainlayout::kFrameHeight,
        Edit_Emission_Dist->mapTo(this, QPoint()).y() - contentTop_, GroupBox1->x());
    xygraph1->setGeometry(l.graph1.left, l.graph1.top + contentTop_, l.graph1.width,
                          std::max(l.graph1.height, 0));
    xygraph2->setGeometry(l.graph2.left, l.graph2.top + contentTop_, l.graph2.width,
                          std::max(l.graph2.height, 0));
    placeResultLine();
    GroupBox1->resize(l.groupBoxWidth, GroupBox1->height());
    Memo1->resize(l.memoWidth, Memo1->height());
    ToolBar1->resize(width(), ToolBar1->height());
}

// Closing the window keeps the working copy, as Quit does, once the program
// has settings to keep it in; on the first run the closing check asks whether
// to create them. A store that fails keeps the window open.
void TForm7::closeEvent(QCloseEvent *event) {
    event->ignore(); // until stored
    try {
        if (tarvel::SettingsStore::fromEnvironment().exists() && !SaveSettings())
            return;
    } catch (...) { // an edit without a number: shown, and the window stays
        showException(std::current_exception());
        return;
    }
    event->accept();
    // Once hidden the program ends; not from inside the close itself.
    QMetaObject::invokeMethod(this, &TForm7::RunClosingCheck, Qt::QueuedConnection);
}

void TForm7::RunClosingCheck() {
    if (ClosingCheck && !programEnding())
        ClosingCheck();
}

void TForm7::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    FormResize();
}

void TForm7::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    // FormDeactivate: the closing check (a modal dialog over this window
    // deactivates it too; the check then finds the window still visible).
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        RunClosingCheck();
}
