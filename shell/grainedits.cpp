#include "grainedits.h"

#include "datamodule.h"
#include "errors.h"
#include "geometrycheck.h"
#include "numbertext.h"
#include "tshape.h"

#include <QLabel>
#include <QLineEdit>

#include <array>

namespace {

float entryValue(QLineEdit *edit, QLabel *caption) {
    const std::string text = edit->text().toStdString();
    const auto value = geometrycheck::parseEntry(text, tarvel::localeDecimalSeparator());
    if (!value) {
        edit->setFocus();
        throw tarvel::ConversionError(text, caption->text().trimmed().toStdString());
    }
    return static_cast<float>(*value);
}

void place(TShape &shape, const geometrycheck::Square &square) {
    shape.setGeometry(square.left, square.top, square.size, square.size);
}

} // namespace

QString drawGrainToScale(const GrainEdits &edits, const TShape &sphere, TShape &outer,
                         TShape &inner) {
    const auto result = geometrycheck::check(
        edits.radius->text().toStdString(), edits.outer->text().toStdString(),
        edits.inner->text().toStdString(), edits.emission->text().toStdString(),
        {sphere.x(), sphere.y(), sphere.width()}, tarvel::localeDecimalSeparator());
    if (result.outer)
        place(outer, *result.outer);
    if (result.inner)
        place(inner, *result.inner);
    return QString::fromStdString(geometrycheck::problemText(result));
}

void storeGrainEdits(const GrainEdits &edits, TDataModule1 &model) {
    const std::array<float, 4> values{entryValue(edits.radius, edits.radiusCaption),
                                      entryValue(edits.outer, edits.outerCaption),
                                      entryValue(edits.inner, edits.innerCaption),
                                      entryValue(edits.emission, edits.emissionCaption)};
    model.GrainData.Sphere_radius = values[0];
    model.GrainData.Outer_radius = values[1];
    model.GrainData.Inner_radius = values[2];
    model.ModelData.Emission_dist = values[3];
}
