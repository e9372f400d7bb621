// Renders the shell's dialogs and the grain picture to PNG files for review by
// eye:  shell_gallery OUTPUT_FOLDER
#include "datamodule.h"
#include "jpegimage.h"
#include "moddatform.h"
#include "tableedit.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include <cstdio>

namespace {

bool save(QWidget &w, const QString &folder, const QString &name) {
    w.show();
    QApplication::processEvents();
    const bool ok = w.grab().save(folder + QLatin1Char('/') + name);
    w.hide();
    return ok;
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder))
        return 1;
    TDataModule1 model;

    bool ok = tarvel::grainPicture().save(folder + QStringLiteral("/grain.png"));

    TForm8 constants;
    constants.Model = &model;
    ok = save(constants, folder, QStringLiteral("constants.png")) && ok;
    // A count that is not stored as shown (a data file may hold one): the note.
    model.ModelData.Neigen = 151;
    ok = save(constants, folder, QStringLiteral("constants-note.png")) && ok;

    ThermalCurve curve;
    const float history[][2] = {{0, 20},      {50, 180}, {123456, 0.5f}, {300, 12.345678f},
                                {412.5f, 95}, {500, 60}, {720, 40},      {1000, 20}};
    for (const auto &point : history)
        curve.Append(point[0], point[1]);
    TTableEdit table;
    table.Fill(curve);
    ok = save(table, folder, QStringLiteral("tableedit.png")) && ok;
    table.Fill(ThermalCurve());
    ok = save(table, folder, QStringLiteral("tableedit-empty.png")) && ok;
    return ok ? 0 : 1;
}
