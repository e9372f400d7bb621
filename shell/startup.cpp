#include "roster.h"

#include "application.h"
#include "calculationpage.h"
#include "datamodule.h"
#include "dialogseam.h"
#include "findhistories.h"
#include "grainswindow.h"
#include "graphdialogs.h"
#include "moddatform.h"
#include "numbertext.h"
#include "parentsdialog.h"
#include "resultrows.h"
#include "tableedit.h"
#include "tform1.h"
#include "tform2.h"
#include "tform3.h"
#include "tform4.h"
#include "tform5.h"
#include "tform6.h"
#include "tform7.h"
#include "tsplash.h"
#include "xygraph.h"

namespace {

// The wizard's order: intro, grain, geometry, thermal history, gamma,
// calculated age; each page is told which pages lie around it.
void linkWizardPages() {
    Form1->GrainPage = Form2;
    Form2->Model = DataModule1;
    Form2->IntroPage = Form1;
    Form2->GeometryPage = Form3;
    // The wizard's grain page stores the grain and shows the geometry page,
    // which computes the coefficients of the data set and stores them there.
    Form3->Input = [] { return CalculationJob::Input(geometryJobInput(*DataModule1)); };
    Form3->Completed = [](const std::vector<double> &coefficients) {
        storeCoefficients(*DataModule1, coefficients);
    };
    Form3->BackPage = Form2;
    Form3->NextPage = Form4;
    Form4->Model = DataModule1;
    Form4->GrainPage = Form2;
    Form4->GammaPage = Form5;
    Form4->ResultPage = Form6;
    Form4->ResultGraph = Form6->xygraph1;
    Form5->BackPage = Form4;
    Form5->NextPage = Form6;
    Form6->Done = [] {
        Form7->Model = DataModule1;
        const auto &ages = Form5->LastAgeResult();
        Form7->ShowWizardResult(Form4->StoredLine(), *Form6->xygraph1,
                                resultrows::ageTable(ages.history, ages.ages, ages.helium,
                                                     DataModule1->ModelData.Kinetics));
        Form7->show();
    };
    Form6->ResultText = [] {
        const auto &ages = Form5->LastAgeResult();
        return QString::fromStdString(
            resultrows::lastPointText(resultrows::ageTable(ages.history, ages.ages, ages.helium,
                                                           DataModule1->ModelData.Kinetics),
                                      DataModule1->ModelData.Method == ModelMethod::Precise,
                                      tarvel::localeDecimalSeparator()));
    };
    Form6->BackToEditing = [] {
        Form4->EditLinesClick();
        Form4->show();
    };
}

} // namespace

// The graphs ask through the program's dialogs, so tests answer them too.
static void routeGraphDialogs() {
    GraphDialogs &graph = graphDialogs();
    graph.chooseSaveFile = [](QWidget *parent, const QString &filter, const QString &suffix) {
        return dialogs().chooseSaveFile(parent, filter, suffix);
    };
    graph.execModal = [](QDialog &dialog) { return dialogs().execModal(dialog); };
    graph.showFailure = showException;
}

void CreateRoster() {
    routeGraphDialogs();
    Splash = new TSplash;
    Form8 = new TForm8;
    Form1 = new TForm1;
    Form7 = new TForm7;
    Form3 = new TForm3;
    Form5 = new TForm5;
    Form2 = new TForm2;
    Form6 = new TForm6;
    Form4 = new TForm4;
    DataModule1 = new TDataModule1;
    TableEdit = new TTableEdit;
    Parents = new ParentsDialog;
    GrainsForm = new GrainsWindow;
    FindForm = new FindHistoriesWindow;

    linkWizardPages();
    // Set again by whoever shows the main window; set now as well, so that a
    // closing check that stores the settings before it was ever shown has a model.
    Form7->Model = DataModule1;
    Form7->GeometryPage = Form3;
    Form7->GammaPage = Form5;
    Form7->ConstantsDialog = Form8;
    Form8->Model = DataModule1;
    Form7->TableDialog = TableEdit;
    Parents->Model = DataModule1;
    Form7->ParentsPage = Parents;
    Form8->ParentsPage = Parents;
    // The grains are predicted under the data set's constants and the
    // history as the main window shows it.
    GrainsForm->Model = DataModule1;
    GrainsForm->HistoryGraph = Form7->xygraph1;
    Form7->GrainsDialog = GrainsForm;
    // The grains are the data set's: the user's edits go into it at once.
    // The search's boxes and settings are the data set's too; its best path
    // becomes the history as a table edit does.
    FindForm->Model = DataModule1;
    FindForm->HistoryGraph = Form7->xygraph1;
    FindForm->UseHistory = [](const std::vector<FPOINT> &points) {
        std::vector<tarvel::TablePoint> table;
        for (const FPOINT &p : points)
            table.push_back({p.x, p.y});
        Form7->TableToGraph(table);
    };
    Form7->FindDialog = FindForm;
    QObject::connect(FindForm, &FindHistoriesWindow::searchEdited, Form7,
                     [] { Form7->setWindowModified(true); });
    QObject::connect(Form7->xygraph1, &Txygraph::boxesEdited, FindForm,
                     guarded([] { FindForm->graphBoxesEdited(); }));
    QObject::connect(GrainsForm, &GrainsWindow::grainsEdited, Form7, [] {
        FindForm->modelChanged();
        DataModule1->Grains = GrainsForm->grains();
        Form7->setWindowModified(true);
    });
    Form7->ClosingCheck = [] { Splash->ClosingCheck(); };
    Splash->IntroPage = Form1;
    Splash->Pages = {Form1, Form2, Form3, Form4, Form5, Form6, Form7};
    Splash->show();
}

template <typename Window> void destroy(Window *&window) {
    delete window;
    window = nullptr;
}

void DestroyRoster() {
    // Windows closing now must not run the closing check on a half-gone roster.
    endProgram();
    // A run still going would outlive the model it reads or writes.
    for (CalculationPage *page :
         {static_cast<CalculationPage *>(Form3), static_cast<CalculationPage *>(Form5)})
        if (page)
            page->StopRun();
    destroy(Parents);
    if (Form7) {
        Form7->GrainsDialog = nullptr;
        Form7->FindDialog = nullptr;
    }
    destroy(FindForm);
    destroy(GrainsForm);
    destroy(TableEdit);
    destroy(DataModule1);
    destroy(Form4);
    destroy(Form6);
    destroy(Form2);
    destroy(Form5);
    destroy(Form3);
    destroy(Form7);
    destroy(Form1);
    destroy(Form8);
    destroy(Splash);
}
