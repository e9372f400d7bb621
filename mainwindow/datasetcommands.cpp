// The main window's commands that move a whole data set in and out: files,
// the per-user settings, the model constants and the annotation.
#include "tform7.h"

#include "annotationtext.h"
#include "datamodule.h"
#include "dialogseam.h"
#include "errors.h"
#include "findhistories.h"
#include "grainpanel.h"
#include "grainswindow.h"
#include "moddatform.h"
#include "parentsdialog.h"
#include "penstrokes.h"
#include "settingsstore.h"
#include "xygraph.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QSignalBlocker>

#include <sstream>

namespace {

const QString kFileFilter = QStringLiteral("Text Files (*.txt);;All Files (*)");

std::string dataSetBytes(const TDataModule1 &model) {
    std::ostringstream out;
    model.WriteDataFile(out);
    return std::move(out).str();
}

void readDataSet(TDataModule1 &model, const QByteArray &bytes) {
    std::istringstream in(bytes.toStdString());
    model.ReadDataFile(in);
}

// The file the stored data set is read from.
QString storedFile(const tarvel::SettingsStore &store) {
    if (QFileInfo(store.userFolder()).isDir())
        return store.userFile();
    for (const QString &folder : store.machineFolders())
        if (QFileInfo(folder).isDir())
            return folder + QStringLiteral("/ModelData");
    return store.userFile();
}

// Beside the stored data set: which file it came from and whether it has
// changes not saved there, so that the next start still knows, and how the
// window shows time. The data set's own bytes stay exactly those of a data file.
struct Document {
    QString fileName;
    bool modified = false;
    bool timeBeforePresent = false;
};

QString documentFile(const tarvel::SettingsStore &store) {
    return store.userFolder() + QStringLiteral("/Document");
}

// Only a help to the title and to Open's question: a failure to keep it
// loses nothing of the data set, so it is not reported.
void storeDocument(const tarvel::SettingsStore &store, const Document &document) {
    QSaveFile file(documentFile(store));
    if (file.open(QIODevice::WriteOnly)) {
        // The file name last: it may hold any character but a line break.
        file.write(QStringLiteral("modified=%1\ntimeBeforePresent=%2\nfile=%3\n")
                       .arg(document.modified ? 1 : 0)
                       .arg(document.timeBeforePresent ? 1 : 0)
                       .arg(document.fileName)
                       .toUtf8());
        file.commit();
    }
}

// Settings from before this was kept, or the machine's, come from no file.
Document loadDocument(const tarvel::SettingsStore &store) {
    Document document;
    QFile file(documentFile(store));
    if (!file.open(QIODevice::ReadOnly))
        return document;
    for (const QString &line : QString::fromUtf8(file.readAll()).split('\n')) {
        if (line.startsWith(QStringLiteral("modified=")))
            document.modified = line.endsWith('1');
        else if (line.startsWith(QStringLiteral("timeBeforePresent=")))
            document.timeBeforePresent = line.endsWith('1');
        else if (line.startsWith(QStringLiteral("file=")))
            document.fileName = line.mid(5);
    }
    return document;
}

} // namespace

// --- storing what the window shows ------------------------------------------------------

void TForm7::StoreEdits() {
    grainPanel->store(*Model);
}

void TForm7::StoreWindowValues() {
    StoreEdits();
    Model->SourceGraph = xygraph1;
    Model->CaptureCurve();
}

// --- files --------------------------------------------------------------------------------

void TForm7::SetDocument(const QString &fileName, bool modified) {
    fileName_ = fileName;
    setWindowTitle(fileName.isEmpty()
                       ? QStringLiteral("Tarvel[*]")
                       : QStringLiteral("%1[*] \u2014 Tarvel").arg(QFileInfo(fileName).fileName()));
    setWindowModified(modified);
}

void TForm7::ToolButton1Click() {
    SaveToFile();
}

bool TForm7::SaveToFile() {
    const QString name = dialogs().chooseSaveFile(this, kFileFilter, QStringLiteral("txt"));
    if (name.isEmpty())
        return false;
    StoreWindowValues();
    const std::string bytes = dataSetBytes(*Model);
    // Written beside the old file and renamed over it, so a failure part way
    // never leaves half a data set where the whole one was.
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) || !file.commit())
        throw tarvel::Error("The data set could not be saved to " + name.toStdString() + ": " +
                            file.errorString().toStdString());
    SetDocument(name, false);
    return true;
}

// Changes not saved to a file are kept, given up or kept in view, as the user
// chooses; false when the data set must stay.
bool TForm7::MayReplaceDataSet() {
    if (!isWindowModified())
        return true;
    switch (dialogs().askToSave(this, QStringLiteral("Tarvel"),
                                QStringLiteral("The data set has changes that are not saved to a "
                                               "file. Save them first?"))) {
    case DialogSeam::SaveChoice::Save:
        return SaveToFile();
    case DialogSeam::SaveChoice::Discard:
        return true;
    case DialogSeam::SaveChoice::Cancel:
        break;
    }
    return false;
}

void TForm7::ToolButton2Click() {
    if (!MayReplaceDataSet())
        return;
    const QString name = dialogs().chooseOpenFile(this, kFileFilter);
    if (!name.isEmpty())
        OpenDataSet(name);
}

bool TForm7::OpenDataSetFile(const QString &name) {
    if (!MayReplaceDataSet())
        return false;
    OpenDataSet(name);
    return true;
}

void TForm7::OpenDataSet(const QString &name) {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        throw tarvel::Error("The file " + name.toStdString() +
                            " could not be opened: " + file.errorString().toStdString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw tarvel::Error("The file " + name.toStdString() +
                            " could not be read: " + file.errorString().toStdString());
    try {
        readDataSet(*Model, bytes);
    } catch (const tarvel::Error &failure) {
        throw tarvel::Error(name.toStdString() + ": " + failure.what());
    }
    ShowDataSet();
    SetDocument(name, false);
}

void TForm7::ShowDataSet() {
    TDataModule1 &model = *Model;
    // Another data set starts from the graphs' first window (0-100), grown
    // where its history does not fit: no window of the one before stays.
    for (Txygraph *graph : {xygraph1, xygraph2}) {
        graph->setxzero(0);
        graph->setyzero(0);
        graph->setxmax(100);
        graph->setymax(100);
    }
    model.DisplayGraph = xygraph1;
    model.DrawCurve();
    xygraph1->Invalidate();
    xygraph1->growToFit();
    xygraph1->forgetEdits(); // another data set: its history starts afresh

    grainPanel->showValues(model);
    grainPanel->setEmissionUsed(!model.ParentsData.present());
    if (GrainsDialog)
        GrainsDialog->setGrains(model.Grains);
    if (FindDialog)
        FindDialog->dataSetChanged();

    {
        // The memo shows the annotation; its change handler must not rewrite
        // the model's lines while they are being shown.
        const QSignalBlocker blocker(Memo1);
        Memo1->setPlainText(annotationtext::memoTextOf(model.Annotation));
    }

    GeometryChanged = true;
    ToolButton5->setEnabled(true);
    ClearResult();
}

void TForm7::ShowWizardResult(const std::vector<FPOINT> &drawn, const Txygraph &result,
                              resultrows::Table rows) {
    ThermalCurve curve;
    for (const FPOINT &p : drawn)
        curve.Append(p.x, p.y);
    Model->GetCurrentCurve() = std::move(curve);
    ShowDataSet();

    drawPolyline(*xygraph2, graphPoints(result));
    xygraph2->Invalidate();
    xygraph2->growToFit();
    SetResults(std::move(rows));
    GeometryChanged = false;
    ToolButton5->setEnabled(false);
    ShowResultLine();
    SetDocument(QString(), true); // built in the wizard, in no file yet
}

// --- settings -----------------------------------------------------------------------------

bool TForm7::SaveSettings() {
    StoreWindowValues(); // an edit without a number stops here, before anything is stored
    const std::string bytes = dataSetBytes(*Model);
    const auto store = tarvel::SettingsStore::fromEnvironment();
    try {
        store.store(QByteArray(bytes.data(), qsizetype(bytes.size())));
    } catch (const tarvel::Error &failure) {
        dialogs().tell(this, QStringLiteral("Error"), QStringLiteral("Registry Error"),
                       QString::fromStdString(failure.what()));
        return false;
    }
    storeDocument(store, {fileName_, isWindowModified(), timeBeforePresent_});
    return true;
}

void TForm7::LoadSettings() {
    const auto store = tarvel::SettingsStore::fromEnvironment();
    const Document document = loadDocument(store);
    SetTimeBeforePresent(document.timeBeforePresent);
    const auto bytes = store.load();
    if (!bytes)
        return; // nothing stored that could be read: the window keeps what it shows
    try {
        readDataSet(*Model, *bytes);
    } catch (const tarvel::Error &failure) {
        throw tarvel::Error("The stored data set " + storedFile(store).toStdString() + ": " +
                            failure.what());
    }
    ShowDataSet();
    SetDocument(document.fileName, document.modified);
}

// --- commands -------------------------------------------------------------------------------

void TForm7::ToolButton3Click() {
    if (!SaveSettings())
        return;
    hide();
    RunClosingCheck(); // nothing is visible now: the program ends at once
}

void TForm7::ToolButton6Click() {
    // Its "Parents..." may change them and the kinetics.
    const TParentsData parents = Model->ParentsData;
    const ModelKinetics kinetics = Model->ModelData.Kinetics;
    const bool accepted = dialogs().execModal(*ConstantsDialog) == QDialog::Accepted;
    ParentsMayHaveChanged(parents, kinetics);
    if (!accepted)
        return;
    if (FindDialog)
        FindDialog->modelChanged(); // the constants or the method may be others
    GeometryChanged = true;
    ToolButton5->setEnabled(true);
    ClearResult();
    MarkModified();
}

void TForm7::ParentsClick() {
    const TParentsData parents = Model->ParentsData;
    const ModelKinetics kinetics = Model->ModelData.Kinetics;
    ParentsPage->FormActivate();
    if (dialogs().execModal(*ParentsPage) == QDialog::Accepted)
        ParentsMayHaveChanged(parents, kinetics);
}

void TForm7::ParentsMayHaveChanged(const TParentsData &before, ModelKinetics kineticsBefore) {
    grainPanel->setEmissionUsed(!Model->ParentsData.present());
    if (Model->ParentsData == before && Model->ModelData.Kinetics == kineticsBefore)
        return;
    if (FindDialog)
        FindDialog->modelChanged();
    ToolButton5->setEnabled(true);
    ClearResult();
    MarkModified();
}

void TForm7::Memo1Change() {
    if (Model)
        Model->Annotation = annotationtext::linesOf(Memo1->toPlainText());
    MarkModified();
}
