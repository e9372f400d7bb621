#pragma once

#include <QDate>
#include <QWidget>

#include "curvetable.h"
#include "fpoint.h"
#include "parentsdata.h"
#include "resultrows.h"

#include <functional>
#include <vector>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPainter;
class QPlainTextEdit;
class QPrinter;
class QRect;
class QToolBar;
class TDataModule1;
class TForm3;
class TForm5;
class TForm8;
class GrainPanel;
class GrainsWindow;
class FindHistoriesWindow;
class TTableEdit;
class ParentsDialog;
class TShape;
class Txygraph;

// The main analysis window ("Tarvel"): the grain in four edits and drawn to
// scale, the thermal history as an editable graph, the calculated time in a
// second graph, the annotation and the toolbar with the data set commands.
class TForm7 : public QWidget {
    Q_OBJECT

public:
    explicit TForm7(QWidget *parent = nullptr);
    ~TForm7() override;

    // The data set the window shows and works on, and the windows it opens;
    // set by whoever builds the program's windows, before the window is used.
    TDataModule1 *Model = nullptr;
    TForm3 *GeometryPage = nullptr; // "Geometry Calculation", run modally
    TForm5 *GammaPage = nullptr;    // "Gamma Calculation", run modally
    TForm8 *ConstantsDialog = nullptr;
    TTableEdit *TableDialog = nullptr;
    ParentsDialog *ParentsPage = nullptr; // "Parents", run modally
    // "Grains", told whenever the history or the result may have changed.
    GrainsWindow *GrainsDialog = nullptr;
    // "Find Histories", told whenever the data set, the model or the history
    // may have changed; its result is printed with the report.
    FindHistoriesWindow *FindDialog = nullptr;
    // The coefficients must be computed again before the next age calculation.
    bool GeometryChanged = true;
    // Run when the window is deactivated or destroyed: the program's closing
    // check, installed when the roster is created.
    std::function<void()> ClosingCheck;

    QToolBar *ToolBar1;
    QAction *ToolButton1;   // Save to File
    QAction *ToolButton2;   // Open File
    QAction *ToolButton3;   // Quit Program
    QAction *ToolButton5;   // Recalculate
    QAction *ToolButton6;   // Edit Constants
    QAction *parentsAction; // "Parents...": U, Th, Sm and their stopping distances
    QAction *ToolButton8;   // Print Report, with the menu below
    QMenu *PrintMenu;
    QAction *PrintPreview1; // Print Preview...
    QAction *GrainsButton;  // Grains (Ctrl+G)
    QAction *FindButton;    // Find Histories... (Ctrl+F)
    QAction *helpAction;    // the Help drop-down, with the menu below
    QMenu *helpMenu;
    QAction *aboutAction; // About Tarvel
    // The grain's edits, circles and warning; the names below point into it.
    GrainPanel *grainPanel;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label8;
    QLineEdit *Edit_Radius, *Edit_Outer_Radius, *Edit_Inner_Radius, *Edit_Emission_Dist;
    TShape *Shape1, *Shape2, *Shape3;
    QGroupBox *GroupBox1;
    QPlainTextEdit *Memo1;
    Txygraph *xygraph1; // the thermal history, editable
    Txygraph *xygraph2; // calculated time against real time
    // The calculated time at the last point and the method, as a number; empty
    // whenever xygraph2 is.
    QLabel *ResultLine;
    QAction *ResultsEntry; // "Results..." on xygraph2's menu, enabled while it holds a result
    // "Time Before Present" on both graphs' menus: their time axes read
    // millions of years before the history's last point. A setting of the
    // user's, kept with the stored data set but not in it.
    QAction *timeBeforePresentEntry1;
    QAction *timeBeforePresentEntry2;
    bool TimeBeforePresent() const { return timeBeforePresent_; }
    void SetTimeBeforePresent(bool on);

    // --- the analysis (tform7.cpp) ---
    void Edit_NEigenChange();
    void Button1Click(); // Recalculate
    void TableEditClick();
    void TableToGraph(const std::vector<tarvel::TablePoint> &points);
    void FormResize();
    // Every point of the result xygraph2 shows, empty whenever the graph is.
    const resultrows::Table &Results() const { return results_; }
    void ResultsClick(); // the table of the result, to copy or export
    void GrainsClick();  // shows the Grains window
    void FindClick();    // shows the Find Histories window

    // --- data set commands (datasetcommands.cpp) ---
    void ToolButton1Click(); // Save to File
    void ToolButton2Click(); // Open File
    // Opens the data file `name` as Open does once a file is chosen, first
    // asking about changes not saved to a file; false when the user kept the
    // data set. Throws, changing nothing, for a file it refuses.
    bool OpenDataSetFile(const QString &name);
    void ToolButton3Click(); // Quit Program
    void ToolButton6Click(); // Edit Constants
    void ParentsClick();     // Parents...
    void Memo1Change();
    void ShowDataSet();
    bool SaveSettings(); // false when the store failed (the user was told)
    void LoadSettings();
    // The file the data set was last opened from or saved to (empty before
    // any), shown in the title; the window is marked modified while the data
    // set has changes not saved to a file.
    void SetDocument(const QString &fileName, bool modified);
    // Puts what the window shows into the model: the four edits and the curve
    // of xygraph1 as drawn. Converts every edit before storing any.
    void StoreWindowValues();
    // Takes over the data set the wizard built: its grain, the thermal history
    // as drawn and the result its age calculation drew into `result`, whose
    // coefficients are current, so Recalculate has nothing to do yet; `rows`
    // are that result's points.
    void ShowWizardResult(const std::vector<FPOINT> &drawn, const Txygraph &result,
                          resultrows::Table rows);

    // --- the report (report.cpp) ---
    // Draws the report in `rect` of each page: the memo's lines, the model's
    // constants and grain, the method, file and date, both graphs and the
    // result's table; `newPage` starts the next page. Returns the page count.
    int DrawReport(QPainter &painter, const QRect &rect,
                   const std::function<void()> &newPage) const;
    // The report on `printer`; throws when the printer fails.
    void PrintReport(QPrinter &printer) const;
    // The date the report gives; today's when not set (tests set it).
    std::function<QDate()> ReportDate;
    void ToolButton8Click(); // Print Report
    void PrintPreviewClick();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    bool RecalculateGeometry();
    std::vector<FPOINT> CaptureDrawnCurve();
    bool RunAgeCalculation(std::vector<FPOINT> drawn);
    void RedrawCurve();
    void StoreEdits();
    void ClearResult();
    void ShowResultLine();
    void SetResults(resultrows::Table rows);
    void placeResultLine();
    void CurveChanged();
    void ShowTimeAxes();
    // The data set's parents or kinetics may have changed: the emission edit
    // follows, and a change is one to compute and to save.
    void ParentsMayHaveChanged(const TParentsData &before, ModelKinetics kineticsBefore);
    void MarkModified() { setWindowModified(true); }
    bool SaveToFile(); // false when the user cancelled the file dialog
    bool MayReplaceDataSet();
    void OpenDataSet(const QString &name);
    void RunClosingCheck();

    int contentTop_ = 0; // how far the tool bar pushes the controls down
    QString fileName_;
    resultrows::Table results_;
    bool timeBeforePresent_ = false;
};
