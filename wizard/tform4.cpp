#include "tform4.h"

#include "application.h"
#include "datamodule.h"
#include "jobinputs.h"
#include "numbertext.h"
#include "pastedblock.h"
#include "penstrokes.h"
#include "samplecurves.h"
#include "tform5.h"
#include "wizardbuttons.h"
#include "xygraph.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>

TForm4::TForm4(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("Thermal History"));
    setFixedSize(434, 285);
    move(488, 200);

    xygraph1 = new Txygraph(this);
    xygraph1->setGeometry(8, 8, 353, 193);
    xygraph1->setxmax(100);
    xygraph1->setymax(100);
    xygraph1->SetSideScales(sscBoth);
    xygraph1->SetTicks(sscBoth);
    xygraph1->SetAutoAxis(sscNone);
    xygraph1->SetHLabel(QStringLiteral("Time (Myr)"));
    xygraph1->SetVLabel(QStringLiteral("Temperature (°C)"));
    xygraph1->Seteditable(true);
    xygraph1->AddMenu(QStringLiteral("Paste"), guarded([this] { pasteHistory(); }));
    xygraph1->AddMenu(QStringLiteral("Show Bars"), guarded([this] { ShowBarsClick(); }));
    connect(xygraph1, &Txygraph::pointsEdited, this, guarded([this] { CurveEdited(); }));
    // Two columns copied from a spreadsheet become the history: from the menu,
    // or Ctrl+V once the graph was clicked.
    xygraph1->setFocusPolicy(Qt::ClickFocus);
    connect(new QShortcut(QKeySequence::Paste, xygraph1, nullptr, nullptr, Qt::WidgetShortcut),
            &QShortcut::activated, this, guarded([this] { pasteHistory(); }));
    xygraph1->setUndoable();

    Label1 = new QLabel(QStringLiteral("Sample"), this);
    Label1->move(376, 16);
    Label1->adjustSize();
    Label2 = new QLabel(QStringLiteral("Curves"), this);
    Label2->move(376, 32);
    Label2->adjustSize();

    for (int i = 0; i < 4; ++i) {
        auto *button = new QToolButton(this);
        button->setGeometry(368, 48 + 40 * i, 55, 35);
        button->setIcon(QPixmap::fromImage(samplecurves::glyph(samplecurves::all()[i])));
        button->setIconSize(QSize(50, 30));
        connect(button, &QToolButton::clicked, this, guarded([this, i] { SpeedButtonClick(i); }));
        SpeedButtons[static_cast<std::size_t>(i)] = button;
    }

    const WizardButtons buttons = addWizardButtons(this);
    Button3 = buttons.back;
    Button2 = buttons.next;
    Button2->setEnabled(false);
    Button1 = buttons.cancel;
    connect(Button2, &QPushButton::clicked, this, guarded([this] { Button2Click(); }));
    connect(Button3, &QPushButton::clicked, this, guarded([this] { Button3Click(); }));
    connect(Button1, &QPushButton::clicked, this, guarded([this] { Button1Click(); }));
}

// The editing mode's menu and pen, without touching the points.
void TForm4::EnterEditingMode() {
    xygraph1->ClearMenu();
    xygraph1->Setbarmode(false);
    xygraph1->Seteditable(true);
    xygraph1->AddMenu(QStringLiteral("Paste"), guarded([this] { pasteHistory(); }));
    xygraph1->AddMenu(QStringLiteral("Show Bars"), guarded([this] { ShowBarsClick(); }));
}

void TForm4::pasteHistory() {
    const QString text = QGuiApplication::clipboard()->text();
    if (xygraph1->Fbarmode()) {
        tarvel::pastedPoints(text.toStdString(), tarvel::localeDecimalSeparator()); // refused first
        EnterEditingMode(); // as a sample curve does
    }
    xygraph1->pasteLine(text);
    Button2->setEnabled(true);
}

// An age calculated for the curve before the edit no longer belongs to it.
void TForm4::CurveEdited() {
    if (ResultGraph) {
        ResultGraph->Clear();
        ResultGraph->Invalidate();
    }
}

void TForm4::SpeedButtonClick(int sample) {
    // A sample chosen while the graph shows bars is a curve to edit: leave bar
    // mode first, so "Edit Lines" cannot later bring back an older copy.
    if (xygraph1->Fbarmode())
        EnterEditingMode();
    xygraph1->Clear();
    drawPolyline(*xygraph1, samplecurves::all()[static_cast<std::size_t>(sample)]);
    xygraph1->setToolTip(QStringLiteral("Drag points"));
    xygraph1->Invalidate();
    xygraph1->recordEdit();
    Button2->setEnabled(true);
}

void TForm4::StoreLines() {
    LineTime.assign(1, 0.0f);
    LineTemp.assign(1, 0.0f);
    float x = 0.0f, y = 0.0f;
    for (int c = xygraph1->EnumPoints(0, &x, &y); c != 0; c = xygraph1->EnumPoints(c, &x, &y)) {
        LineTime.push_back(x);
        LineTemp.push_back(y);
    }
    LineCount = static_cast<int>(LineTime.size());
}

void TForm4::ShowBarsClick() {
    StoreLines();
    xygraph1->Setbarmode(true);
    xygraph1->ClearMenu();
    xygraph1->AddMenu(QStringLiteral("Edit Lines"), guarded([this] { EditLinesClick(); }));
    xygraph1->Invalidate();
}

void TForm4::EditLinesClick() {
    xygraph1->Clear();
    EnterEditingMode();
    drawPolyline(*xygraph1, StoredLine());
    xygraph1->Invalidate();
}

std::vector<FPOINT> TForm4::StoredLine() const {
    std::vector<FPOINT> line;
    for (int i = 1; i < LineCount; ++i)
        line.push_back(
            {LineTime[static_cast<std::size_t>(i)], LineTemp[static_cast<std::size_t>(i)]});
    return line;
}

void TForm4::Button2Click() {
    ShowBarsClick(); // first: a curve too long for bars leaves the page as it was
    // The ages of the curve as drawn by the data set's method, split into the
    // same steps the bars show.
    AgeJobInput input = ageJobInput(*Model, StoredLine());
    hide();
    GammaPage->move(pos());
    if (ResultPage)
        ResultPage->move(pos());
    Model->SourceGraph = xygraph1;
    Model->CaptureCurve();
    GammaPage->Input = [input = std::move(input)] { return CalculationJob::Input(input); };
    GammaPage->TargetGraph = ResultGraph;
    GammaPage->NextForm = ResultPage;
    GammaPage->show();
}

void TForm4::Button3Click() {
    hide();
    if (GrainPage)
        GrainPage->show();
}

void TForm4::Button1Click() {
    endProgram();
}
