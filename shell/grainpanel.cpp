#include "grainpanel.h"

#include "application.h"
#include "datamodule.h"
#include "errors.h"
#include "geometrycheck.h"
#include "numbertext.h"
#include "tshape.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace {

float entryValue(QLineEdit *edit, const QLabel *caption) {
    const std::string text = edit->text().toStdString();
    const auto value = geometrycheck::parseEntry(text, tarvel::localeDecimalSeparator());
    if (!value) {
        edit->setFocus();
        throw tarvel::ConversionError(text, caption->text().trimmed().toStdString());
    }
    return static_cast<float>(*value);
}

QString editText(float value) {
    return QString::fromStdString(tarvel::formatGeneral(
        static_cast<double>(value), tarvel::kEditDigits, tarvel::localeDecimalSeparator()));
}

void place(TShape &shape, const geometrycheck::Square &square) {
    shape.setGeometry(square.left, square.top, square.size, square.size);
}

} // namespace

GrainPanel::GrainPanel(const Layout &layout, QWidget *window) : QWidget(window) {
    // The pieces are placed in the window's pixels first and moved into the
    // panel once its extent is known.
    sphere_ = new TShape(this, Qt::white, Qt::SolidLine);
    outer_ = new TShape(this, Qt::red, Qt::DashLine);
    inner_ = new TShape(this, Qt::white, Qt::SolidLine);
    for (TShape *circle : {sphere_, outer_, inner_})
        circle->setGeometry(layout.sphere); // the zone's circles are sized by the check below

    for (std::size_t row = 0; row < captions_.size(); ++row) {
        captions_[row] = new QLabel(layout.captions[row], this);
        captions_[row]->move(layout.captionLeft,
                             layout.firstEdit.top() + static_cast<int>(row) * layout.rowStep);
        captions_[row]->adjustSize();
    }
    int editLeft = layout.firstEdit.left();
    int editWidth = layout.firstEdit.width();
    if (layout.minEditWidth) {
        int captionsRight = 0;
        for (const QLabel *caption : captions_)
            captionsRight = std::max(captionsRight, caption->x() + caption->width());
        const int editRight = layout.firstEdit.left() + layout.firstEdit.width();
        editLeft = std::max(editLeft, captionsRight + 8);
        editWidth = std::max(*layout.minEditWidth, editRight - editLeft);
    }
    const std::array<const char *, 4> texts{"60", "40", "20", "20"};
    const std::array<QString, 4> hints{QStringLiteral("The size of the object"),
                                       QStringLiteral("Another hint of a value"), QString(),
                                       QString()};
    for (std::size_t row = 0; row < edits_.size(); ++row) {
        QLineEdit *edit = new QLineEdit(QString::fromLatin1(texts[row]), this);
        edit->setGeometry(editLeft, captions_[row]->y(), editWidth, layout.firstEdit.height());
        edit->setToolTip(hints[row]);
        QLabel *caption = captions_[row];
        caption->move(caption->x(), edit->y() + (edit->height() - caption->height()) / 2);
        edits_[row] = edit;
    }

    warning_ = new QLabel(QString::fromUtf8(geometrycheck::kRadiiRuleText), this);
    warningWraps_ = layout.warningBox.has_value();
    if (warningWraps_) {
        warning_->setWordWrap(true);
        warning_->setGeometry(QRect(layout.warningPos, *layout.warningBox));
    } else {
        warning_->move(layout.warningPos);
        warning_->adjustSize();
    }
    warning_->hide();

    QRect extent;
    for (QWidget *piece : findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        extent |= piece->geometry();
    setGeometry(extent);
    for (QWidget *piece : findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        piece->move(piece->pos() - extent.topLeft());

    checkGeometry();
    for (QLineEdit *edit : edits_) {
        connect(edit, &QLineEdit::textChanged, this,
                guarded([this] { emit entryChanged(checkGeometry()); }));
        edit->installEventFilter(this);
    }
}

void GrainPanel::lendPieces(std::array<QLabel **, 4> captions, std::array<QLineEdit **, 4> edits,
                            std::array<TShape **, 3> circles, QLabel **warning) const {
    for (std::size_t row = 0; row < captions_.size(); ++row) {
        *captions[row] = captions_[row];
        *edits[row] = edits_[row];
    }
    *circles[0] = sphere_;
    *circles[1] = outer_;
    *circles[2] = inner_;
    *warning = warning_;
}

bool GrainPanel::checkGeometry() {
    const auto result = geometrycheck::check(
        radiusEdit()->text().toStdString(), outerEdit()->text().toStdString(),
        innerEdit()->text().toStdString(),
        emissionUsed_ ? emissionEdit()->text().toStdString() : std::string("0"),
        {sphere_->x(), sphere_->y(), sphere_->width()}, tarvel::localeDecimalSeparator());
    if (result.outer)
        place(*outer_, *result.outer);
    if (result.inner)
        place(*inner_, *result.inner);
    const QString problem = QString::fromStdString(geometrycheck::problemText(result));
    passes_ = problem.isEmpty();
    if (!passes_) {
        warning_->setText(problem);
        if (!warningWraps_) {
            warning_->adjustSize();
            fitToPieces();
        }
    }
    warning_->setVisible(!passes_);
    return passes_;
}

// A longer warning than the panel has room for widens the panel with it, so
// nothing of the sentence is cut off.
void GrainPanel::fitToPieces() {
    QRect extent(0, 0, width(), height());
    for (QWidget *piece : findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        extent |= piece->geometry();
    resize(extent.right() + 1, extent.bottom() + 1);
}

void GrainPanel::setEmissionUsed(bool used) {
    if (used == emissionUsed_)
        return;
    emissionUsed_ = used;
    emissionEdit()->setEnabled(used);
    const QString why =
        used ? QString()
             : QStringLiteral("Not used: the helium comes from the parents U, Th and Sm, each "
                              "with its own stopping distance (Parents\u2026)");
    emissionEdit()->setToolTip(why);
    emissionCaption()->setToolTip(why);
    checkGeometry();
    emit entryChanged(passes_);
}

void GrainPanel::store(TDataModule1 &model) const {
    const std::array<float, 4> values{entryValue(radiusEdit(), radiusCaption()),
                                      entryValue(outerEdit(), outerCaption()),
                                      entryValue(innerEdit(), innerCaption()),
                                      emissionUsed_ ? entryValue(emissionEdit(), emissionCaption())
                                                    : model.ModelData.Emission_dist};
    model.GrainData.Sphere_radius = values[0];
    model.GrainData.Outer_radius = values[1];
    model.GrainData.Inner_radius = values[2];
    model.ModelData.Emission_dist = values[3];
}

void GrainPanel::showValues(const TDataModule1 &model) {
    radiusEdit()->setText(editText(model.GrainData.Sphere_radius));
    outerEdit()->setText(editText(model.GrainData.Outer_radius));
    innerEdit()->setText(editText(model.GrainData.Inner_radius));
    emissionEdit()->setText(editText(model.ModelData.Emission_dist));
}

bool GrainPanel::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::FocusOut)
        emit entryLeft();
    return QWidget::eventFilter(watched, event);
}
