#include "moddatform.h"

#include "application.h"
#include "constantsentry.h"
#include "datamodule.h"
#include "dialogseam.h"
#include "numbertext.h"
#include "parentsdata.h"
#include "parentsdialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kEditWidth = 113;
constexpr int kEditColumn = 144; // where the edits start, from the left border

QString toQ(const std::string &s) {
    return QString::fromStdString(s);
}
std::string fromQ(const QString &s) {
    return s.toStdString();
}

} // namespace

TForm8::TForm8(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("Model Constants"));
    setModal(true);

    Label5 = new QLabel(QStringLiteral("Number of Eigenvalues"), this);
    Label6 = new QLabel(QStringLiteral("Activation Energy Ea (cal/mol)"), this);
    Label7 = new QLabel(QStringLiteral("D0 (cm²/s)"), this);
    Edit_NEigen = new QLineEdit(QStringLiteral("20"), this);
    Edit_AEnergy = new QLineEdit(QStringLiteral("10"), this);
    Edit_D0 = new QLineEdit(QStringLiteral("100"), this);
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button2 = new QPushButton(QStringLiteral("Cancel"), this);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label6->setObjectName(QStringLiteral("Label6"));
    Label7->setObjectName(QStringLiteral("Label7"));
    Edit_NEigen->setObjectName(QStringLiteral("Edit_NEigen"));
    Edit_AEnergy->setObjectName(QStringLiteral("Edit_AEnergy"));
    Edit_D0->setObjectName(QStringLiteral("Edit_D0"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2->setObjectName(QStringLiteral("Button2"));
    Button1->setDefault(true);
    Label8 = new QLabel(QStringLiteral("Method"), this);
    RadioButton_Fast = new QRadioButton(QStringLiteral("Fast (stepped history)"), this);
    RadioButton_Precise = new QRadioButton(QStringLiteral("Precise (continuous history)"), this);
    Label8->setObjectName(QStringLiteral("Label8"));
    RadioButton_Fast->setObjectName(QStringLiteral("RadioButton_Fast"));
    RadioButton_Precise->setObjectName(QStringLiteral("RadioButton_Precise"));
    methodGroup = new QButtonGroup(this);
    methodGroup->addButton(RadioButton_Fast);
    methodGroup->addButton(RadioButton_Precise);
    RadioButton_Fast->setChecked(true);
    eigenvalueNote = new QLabel(this);
    eigenvalueNote->setObjectName(QStringLiteral("eigenvalueNote"));

    // Labels on the left, edits from x = 144 where the labels leave room, the
    // note beside the count, the two buttons under labels and edits; layouts
    // keep every text whole in any font.
    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(11);
    QLabel *labels[] = {Label5, Label6, Label7, Label8};
    QLineEdit *edits[] = {Edit_NEigen, Edit_AEnergy, Edit_D0};
    int labelWidth = 0;
    for (const QLabel *label : labels)
        labelWidth = std::max(labelWidth, label->sizeHint().width());
    grid->setColumnMinimumWidth(0, std::max(labelWidth, kEditColumn - 11 - grid->spacing()));
    // Wide enough for the longest text the constants can show (15 digits,
    // sign and exponent), plus the frame.
    const int editWidth = std::max(
        kEditWidth,
        Edit_D0->fontMetrics().horizontalAdvance(QStringLiteral("-8.88888888888888E-38")) + 12);
    for (int row = 0; row < 3; ++row) {
        grid->addWidget(labels[row], row, 0);
        edits[row]->setMinimumWidth(editWidth);
        grid->addWidget(edits[row], row, 1);
    }
    // Room for the longest note from the start, so the dialog keeps its size
    // while the user types.
    int noteWidth = 0;
    for (const char *entry : {"151", "4", "149.5"})
        noteWidth = std::max(noteWidth, eigenvalueNote->fontMetrics().horizontalAdvance(
                                            toQ(tarvel::eigenvalueNote(entry, '.'))));
    eigenvalueNote->setMinimumWidth(noteWidth);
    grid->addWidget(eigenvalueNote, 0, 2);
    arrheniusPreset = new QComboBox(this);
    arrheniusPreset->setObjectName(QStringLiteral("arrheniusPreset"));
    arrheniusPreset->setPlaceholderText(QStringLiteral("Published constants\u2026"));
    for (const ArrheniusPreset &preset : kArrheniusPresets)
        arrheniusPreset->addItem(QString::fromUtf8(preset.name));
    arrheniusPreset->setCurrentIndex(-1);
    arrheniusPreset->setToolTip(
        QStringLiteral("Fills Ea and D0 with a mineral's published values"));
    grid->addWidget(arrheniusPreset, 1, 2, Qt::AlignLeft);
    kineticsNote = new QLabel(this);
    kineticsNote->setObjectName(QStringLiteral("kineticsNote"));
    kineticsNote->setWordWrap(true);
    grid->addWidget(kineticsNote, 2, 2);
    // The method below D0, its two choices one above the other; their texts
    // may reach into the note's column.
    grid->addWidget(Label8, 3, 0);
    grid->addWidget(RadioButton_Fast, 3, 1, 1, 2, Qt::AlignLeft);
    grid->addWidget(RadioButton_Precise, 4, 1, 1, 2, Qt::AlignLeft);
    parentsButton = new QPushButton(QStringLiteral("Parents\u2026"), this);
    parentsButton->setAutoDefault(false);
    parentsButton->setToolTip(
        QStringLiteral("The grain's U, Th and Sm and their stopping distances"));
    grid->addWidget(parentsButton, 5, 1, Qt::AlignLeft);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addStretch(2);
    buttons->addWidget(Button2);
    buttons->addStretch(1);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(11, 20, 32, 16);
    outer->addLayout(grid);
    grid->setRowMinimumHeight(6, 8);
    // The buttons stay under the labels and edits; the note's column is extra.
    grid->addLayout(buttons, 7, 0, 1, 2);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(Edit_NEigen, Edit_AEnergy);
    setTabOrder(Edit_AEnergy, Edit_D0);
    setTabOrder(Edit_D0, RadioButton_Fast);
    setTabOrder(RadioButton_Fast, RadioButton_Precise);
    setTabOrder(RadioButton_Precise, Button1);
    setTabOrder(Button1, Button2);

    connect(Button1, &QPushButton::clicked, this, guarded([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, guarded([this] { Button2Click(); }));
    connect(parentsButton, &QPushButton::clicked, this, guarded([this] {
                if (ParentsPage) {
                    ParentsPage->FormActivate();
                    dialogs().execModal(*ParentsPage);
                    showKinetics(); // the kinetics is chosen there
                }
            }));
    connect(Edit_NEigen, &QLineEdit::textChanged, this, guarded([this] { Edit_NEigenChange(); }));
    connect(arrheniusPreset, &QComboBox::activated, this,
            guarded([this] { presetChosen(arrheniusPreset->currentIndex()); }));
}

void TForm8::presetChosen(int index) {
    if (index < 0 || std::size_t(index) >= kArrheniusPresets.size())
        return;
    const ArrheniusPreset &preset = kArrheniusPresets[std::size_t(index)];
    TModelData values = Model->ModelData;
    values.Activation_energy = preset.activationEnergy;
    values.D0 = preset.d0;
    const auto texts = tarvel::constantsTexts(values, tarvel::localeDecimalSeparator());
    Edit_AEnergy->setText(toQ(texts.Activation_energy));
    Edit_D0->setText(toQ(texts.D0));
}

// Under a radiation-damage model the diffusivity has the model's own
// constants: the entries stay as they are, to be used again under Arrhenius.
void TForm8::showKinetics() {
    const ModelKinetics kinetics = Model->ModelData.Kinetics;
    const bool used = kinetics == ModelKinetics::Arrhenius;
    for (QWidget *w : {static_cast<QWidget *>(Edit_AEnergy), static_cast<QWidget *>(Edit_D0),
                       static_cast<QWidget *>(arrheniusPreset)})
        w->setEnabled(used);
    kineticsNote->setText(used ? QString()
                               : QStringLiteral("Not used: the kinetics is %1 (Parents\u2026)")
                                     .arg(QString::fromUtf8(kineticsChoice(kinetics).name)));
}

void TForm8::FormActivate() {
    const auto texts = tarvel::constantsTexts(Model->ModelData, tarvel::localeDecimalSeparator());
    Edit_NEigen->setText(toQ(texts.Neigen));
    Edit_AEnergy->setText(toQ(texts.Activation_energy));
    Edit_D0->setText(toQ(texts.D0));
    (Model->ModelData.Method == ModelMethod::Precise ? RadioButton_Precise : RadioButton_Fast)
        ->setChecked(true);
    arrheniusPreset->setCurrentIndex(-1);
    showKinetics();
}

void TForm8::Button1Click() {
    // Converts all three entries first; a failure leaves the model untouched,
    // the method included.
    TModelData constants = tarvel::applyConstantsTexts(
        Model->ModelData,
        {fromQ(Edit_NEigen->text()), fromQ(Edit_AEnergy->text()), fromQ(Edit_D0->text())},
        tarvel::localeDecimalSeparator());
    constants.Method = RadioButton_Precise->isChecked() ? ModelMethod::Precise : ModelMethod::Fast;
    Model->ModelData = constants;
    accept();
}

void TForm8::Edit_NEigenChange() {
    eigenvalueNote->setText(
        toQ(tarvel::eigenvalueNote(fromQ(Edit_NEigen->text()), tarvel::localeDecimalSeparator())));
}

void TForm8::Button2Click() {
    reject();
}

void TForm8::showEvent(QShowEvent *event) {
    // A window system re-show (after minimising) keeps what the user typed.
    if (!event->spontaneous())
        FormActivate();
    QDialog::showEvent(event);
}
