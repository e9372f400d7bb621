// The main window's commands that move a whole data set in and out: files,
// the per-user settings, the model constants and the annotation.
#include "tform7.h"

#include "annotationtext.h"
#include "datamodule.h"
#include "dialogseam.h"
#include "errors.h"
#include "grainedits.h"
#include "moddatform.h"
#include "numbertext.h"
#include "penstrokes.h"
#include "roster.h"
#include "settingsstore.h"
#include "xygraph.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QSignalBlocker>

#include <sstream>

namespace {

const QString kFileFilter = QStringLiteral("Text Files (*.txt);;All Files (*)");

QString editText(float value) {
    return QString::fromStdString(tarvel::formatGeneral(
        static_cast<double>(value), tarvel::kEditDigits, tarvel::localeDecimalSeparator()));
}

std::string dataSetBytes(const TDataModule1 &model) {
    std::ostringstream out;
    model.WriteDataFile(out);
    return std::move(out).str();
}

void readDataSet(TDataModule1 &model, const QByteArray &bytes) {
    std::istringstream in(bytes.toStdString());
    model.ReadDataFile(in);
}

} // namespace

// --- storing what the window shows ------------------------------------------------------

void TForm7::StoreEdits() {
    storeGrainEdits(grainEditsOf(*this), *DataModule1);
}

void TForm7::StoreWindowValues() {
    StoreEdits();
    DataModule1->SourceGraph = xygraph1;
    DataModule1->CaptureCurve();
}

// --- files --------------------------------------------------------------------------------

void TForm7::ToolButton1Click() {
    const QString name = dialogs().chooseSaveFile(this, kFileFilter, QStringLiteral("txt"));
    if (name.isEmpty())
        return;
    StoreWindowValues();
    const std::string bytes = dataSetBytes(*Model);
    // Written beside the old file and renamed over it, so a failure part way
    // never leaves half a data set where the whole one was.
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) || !file.commit())
        throw tarvel::Error("The data set could not be saved to " + name.toStdString() + ": " +
                            file.errorString().toStdString());
}

void TForm7::ToolButton2Click() {
    const QString name = dialogs().chooseOpenFile(this, kFileFilter);
    if (name.isEmpty())
        return;
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
}

void TForm7::ShowDataSet() {
    TDataModule1 &model = *Model;
    model.DisplayGraph = xygraph1;
    model.DrawCurve();
    xygraph1->Invalidate();

    Edit_Radius->setText(editText(model.GrainData.Sphere_radius));
    Edit_Outer_Radius->setText(editText(model.GrainData.Outer_radius));
    Edit_Inner_Radius->setText(editText(model.GrainData.Inner_radius));
    Edit_Emission_Dist->setText(editText(model.ModelData.Emission_dist));

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

void TForm7::ShowWizardResult(const std::vector<FPOINT> &drawn, const Txygraph &result) {
    ThermalCurve curve;
    for (const FPOINT &p : drawn)
        curve.Append(p.x, p.y);
    Model->GetCurrentCurve() = std::move(curve);
    ShowDataSet();

    std::vector<FPOINT> points;
    float x = 0.0f, y = 0.0f;
    for (int c = result.EnumPoints(0, &x, &y); c != 0; c = result.EnumPoints(c, &x, &y))
        points.push_back({x, y});
    drawPolyline(*xygraph2, points);
    xygraph2->Invalidate();
    GeometryChanged = false;
    ToolButton5->setEnabled(false);
}

// --- settings -----------------------------------------------------------------------------

bool TForm7::SaveSettings() {
    StoreWindowValues(); // an edit without a number stops here, before anything is stored
    const std::string bytes = dataSetBytes(*Model);
    try {
        tarvel::SettingsStore::fromEnvironment().store(
            QByteArray(bytes.data(), qsizetype(bytes.size())));
        return true;
    } catch (const tarvel::Error &failure) {
        dialogs().tell(this, QStringLiteral("Error"), QStringLiteral("Registry Error"),
                       QString::fromStdString(failure.what()));
        return false;
    }
}

void TForm7::LoadSettings() {
    const auto bytes = tarvel::SettingsStore::fromEnvironment().load();
    if (!bytes)
        return; // nothing stored that could be read: the window keeps what it shows
    readDataSet(*Model, *bytes);
    ShowDataSet();
}

// --- commands -------------------------------------------------------------------------------

void TForm7::ToolButton3Click() {
    if (SaveSettings())
        hide();
}

void TForm7::ToolButton6Click() {
    if (dialogs().execModal(*Form8) != QDialog::Accepted)
        return;
    GeometryChanged = true;
    ToolButton5->setEnabled(true);
    ClearResult();
}

void TForm7::Memo1Change() {
    if (Model)
        Model->Annotation = annotationtext::linesOf(Memo1->toPlainText());
}
