#include "tableedit.h"

#include "application.h"
#include "numbertext.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kClientWidth = 313;
constexpr int kClientHeight = 214;
constexpr int kGridWidth = 297;
constexpr int kGridHeight = 161;
constexpr int kButtonWidth = 75;

} // namespace

TTableEdit::TTableEdit(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint) {
    setWindowTitle(QStringLiteral("Thermal History")); // what the table holds
    setModal(true);

    StringGrid1 = new QTableWidget(0, 2, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setHorizontalHeaderLabels({QStringLiteral("Time"), QStringLiteral("Temp")});
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setDefaultSectionSize(StringGrid1->fontMetrics().height() + 8);
    StringGrid1->verticalHeader()->setFixedWidth(StringGrid1->fontMetrics().height() + 8);
    StringGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    StringGrid1->setShowGrid(true);
    StringGrid1->setMinimumSize(kGridWidth, kGridHeight);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    OKBtn->setDefault(true);
    for (QPushButton *button : {OKBtn, CancelBtn})
        button->setMinimumWidth(kButtonWidth);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    buttons->addStretch(1);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 8, 8, 8);
    outer->addWidget(StringGrid1, 1);
    outer->addLayout(buttons);
    resize(kClientWidth, kClientHeight);

    connect(OKBtn, &QPushButton::clicked, this, guarded([this] { OKBtnClick(); }));
    connect(CancelBtn, &QPushButton::clicked, this, guarded([this] { CancelBtnClick(); }));
}

void TTableEdit::Fill(const ThermalCurve &curve) {
    Result.reset();
    Table = tarvel::CurveTable(curve, tarvel::localeDecimalSeparator());
    StringGrid1->clearContents();
    StringGrid1->setRowCount(Table.rowCount());
    QStringList noLabels;
    for (int row = 0; row < Table.rowCount(); ++row) {
        noLabels << QString();
        for (int column = 0; column < 2; ++column)
            StringGrid1->setItem(row, column,
                                 new QTableWidgetItem(QString::fromStdString(
                                     Table.texts(row)[static_cast<std::size_t>(column)])));
    }
    StringGrid1->setVerticalHeaderLabels(noLabels);
    if (Table.rowCount() > 0)
        StringGrid1->setCurrentCell(0, 0);
}

void TTableEdit::OKBtnClick() {
    std::vector<tarvel::TableRowTexts> cells(static_cast<std::size_t>(StringGrid1->rowCount()));
    for (int row = 0; row < StringGrid1->rowCount(); ++row)
        for (int column = 0; column < 2; ++column) {
            const QTableWidgetItem *item = StringGrid1->item(row, column);
            cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] =
                item ? item->text().toStdString() : std::string();
        }
    if (cells.empty()) { // nothing to apply
        accept();
        return;
    }
    try {
        Result = Table.points(cells);
    } catch (const tarvel::CellConversionError &e) {
        // Show the user where the problem is, then let the error be reported.
        StringGrid1->setCurrentCell(e.Row, e.Column);
        StringGrid1->setFocus();
        throw;
    }
    accept();
}

void TTableEdit::CancelBtnClick() {
    reject();
}

void TTableEdit::reject() {
    Result.reset();
    QDialog::reject();
}

void TTableEdit::showEvent(QShowEvent *event) {
    if (!event->spontaneous())
        if (const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen())
            move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    QDialog::showEvent(event);
}
