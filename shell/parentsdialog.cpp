#include "parentsdialog.h"

#include "application.h"
#include "datamodule.h"
#include "errors.h"
#include "numbertext.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

const std::array<const char *, 7> kCaptions{"U (ppm)",
                                            "Th (ppm)",
                                            "Sm (ppm)",
                                            "Stopping distance 238U (\u00b5m)",
                                            "Stopping distance 235U (\u00b5m)",
                                            "Stopping distance 232Th (\u00b5m)",
                                            "Stopping distance 147Sm (\u00b5m)"};
// More than a million µg/g would be more than the whole grain.
constexpr double kMostPpm = 1e6;

QString caption(std::size_t field) {
    return QString::fromUtf8(kCaptions[field]);
}

// The fewest digits that read back as the same float: 18.81, not the
// 18.8099994659424 its double shows.
QString valueText(float value) {
    const char separator = tarvel::localeDecimalSeparator();
    std::string text;
    // As many digits as the whole part has at least, so that 100 reads 100,
    // not 1E2.
    const int whole = std::fabs(value) >= 1 ? int(std::log10(std::fabs(double(value)))) + 1 : 1;
    for (int digits = std::min(whole, 9); digits <= 9; ++digits) {
        text = tarvel::formatGeneral(double(value), digits, separator);
        if (float(tarvel::parseNumber(text, separator)) == value)
            break;
    }
    return QString::fromStdString(text);
}

} // namespace

ParentsDialog::ParentsDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("Parents"));
    setModal(true);
    auto *form = new QFormLayout;
    for (std::size_t i = 0; i < edits.size(); ++i) {
        edits[i] = new QLineEdit(this);
        if (i == 3) {
            mineral = new QComboBox(this);
            for (const MineralPreset &preset : kMineralPresets) {
                QString name = QString::fromLatin1(preset.name);
                name[0] = name[0].toUpper();
                mineral->addItem(name);
            }
            mineral->addItem(QStringLiteral("Other"));
            form->addRow(QStringLiteral("Mineral"), mineral);
            kinetics = new QComboBox(this);
            for (const KineticsChoice &choice : kKineticsChoices)
                kinetics->addItem(QString::fromUtf8(choice.label));
            kinetics->setToolTip(
                QStringLiteral("How fast the helium diffuses: an Arrhenius law with the data "
                               "set's D0 and Ea, or the published model of the mineral's "
                               "radiation damage, which slows it as alpha decay damages the "
                               "grain and heat anneals it"));
            form->addRow(QStringLiteral("Kinetics"), kinetics);
        }
        form->addRow(caption(i), edits[i]);
    }
    auto *note = new QLabel(
        QStringLiteral("With U, Th or Sm above 0 the helium comes from these parents, each\n"
                       "stopping at its own distance and decaying along the history; the\n"
                       "emission distance is then not used. All three 0: one emission distance.\n"
                       "The radiation-damage models need the parents; their D0 and Ea are the\n"
                       "published ones, not those of Edit Constants."),
        this);
    okButton = new QPushButton(QStringLiteral("OK"), this);
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    okButton->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(form);
    outer->addWidget(note);
    outer->addLayout(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    connect(okButton, &QPushButton::clicked, this, guarded([this] { okClick(); }));
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(mineral, &QComboBox::activated, this,
            guarded([this] { presetChosen(mineral->currentIndex()); }));
    for (std::size_t i = 3; i < edits.size(); ++i)
        connect(edits[i], &QLineEdit::textEdited, this, guarded([this] { stoppingTyped(); }));
}

void ParentsDialog::FormActivate() {
    showValues(Model->ParentsData);
    showKinetics(Model->ModelData.Kinetics);
}

void ParentsDialog::showKinetics(ModelKinetics chosen) {
    for (std::size_t i = 0; i < kKineticsChoices.size(); ++i)
        if (kKineticsChoices[i].kinetics == chosen)
            kinetics->setCurrentIndex(int(i));
}

ModelKinetics ParentsDialog::chosenKinetics() const {
    const int i = kinetics->currentIndex();
    return i < 0 ? ModelKinetics::Arrhenius : kKineticsChoices[std::size_t(i)].kinetics;
}

void ParentsDialog::showValues(const TParentsData &p) {
    const std::array<float, 7> values{p.U_ppm,         p.Th_ppm,        p.Sm_ppm,
                                      p.Stopping_U238, p.Stopping_U235, p.Stopping_Th232,
                                      p.Stopping_Sm147};
    for (std::size_t i = 0; i < edits.size(); ++i)
        edits[i]->setText(valueText(values[i]));
    stoppingTyped();
}

void ParentsDialog::presetChosen(int index) {
    if (index < 0 || std::size_t(index) >= kMineralPresets.size())
        return; // "Other" keeps the distances as they are
    TParentsData p;
    const MineralPreset &preset = kMineralPresets[std::size_t(index)];
    applyMineralPreset(p, preset);
    showKinetics(preset.kinetics);
    const std::array<float, 4> stopping{p.Stopping_U238, p.Stopping_U235, p.Stopping_Th232,
                                        p.Stopping_Sm147};
    for (std::size_t i = 0; i < 4; ++i)
        edits[3 + i]->setText(valueText(stopping[i]));
}

// The presets box names the mineral whose distances the entries hold.
void ParentsDialog::stoppingTyped() {
    int match = mineral->count() - 1;
    try {
        TParentsData p;
        float *stopping[] = {&p.Stopping_U238, &p.Stopping_U235, &p.Stopping_Th232,
                             &p.Stopping_Sm147};
        for (std::size_t i = 0; i < 4; ++i)
            *stopping[i] = float(tarvel::parseNumberEither(edits[3 + i]->text().toStdString(),
                                                           tarvel::localeDecimalSeparator()));
        if (const MineralPreset *preset = matchingMineralPreset(p))
            match = int(preset - kMineralPresets.data());
    } catch (const tarvel::ConversionError &) {
    }
    const QSignalBlocker blocker(mineral);
    mineral->setCurrentIndex(match);
}

TParentsData ParentsDialog::entries() const {
    std::array<float, 7> values{};
    for (std::size_t i = 0; i < edits.size(); ++i) {
        const std::string text = edits[i]->text().toStdString();
        const std::string where = caption(i).toStdString();
        double value;
        try {
            value = tarvel::parseNumberEither(text, tarvel::localeDecimalSeparator());
        } catch (const tarvel::ConversionError &) {
            edits[i]->setFocus();
            throw tarvel::ConversionError(text, where);
        }
        const bool concentration = i < 3;
        if (concentration ? !(value >= 0 && value <= kMostPpm) : !(value > 0 && value < 1e6)) {
            edits[i]->setFocus();
            throw tarvel::Error(where + (concentration
                                             ? " must be at least 0 and at most a million."
                                             : " must be above 0 and below a million."));
        }
        values[i] = float(value);
    }
    return {values[0], values[1], values[2], values[3], values[4], values[5], values[6]};
}

void ParentsDialog::okClick() {
    const TParentsData parents = entries(); // all seven before any is stored
    Model->ParentsData = parents;
    Model->ModelData.Kinetics = chosenKinetics();
    accept();
}
