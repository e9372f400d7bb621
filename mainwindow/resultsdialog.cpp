#include "resultsdialog.h"

#include "application.h"
#include "dialogseam.h"
#include "errors.h"
#include "numbertext.h"

#include <QAbstractTableModel>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QSaveFile>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// The table's cells are formatted as they are shown, so a long history costs
// nothing until it is scrolled through.
class ResultsModel final : public QAbstractTableModel {
public:
    ResultsModel(resultrows::Table table, QObject *parent)
        : QAbstractTableModel(parent), table_(std::move(table)),
          separator_(tarvel::localeDecimalSeparator()) {}

    const resultrows::Table &table() const { return table_; }

    int rowCount(const QModelIndex &parent) const override {
        return parent.isValid() ? 0 : int(table_.rows.size());
    }
    int columnCount(const QModelIndex &parent) const override {
        return parent.isValid() ? 0 : int(table_.columns.size());
    }
    QVariant data(const QModelIndex &index, int role) const override {
        if (!index.isValid())
            return {};
        if (role == Qt::TextAlignmentRole)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        if (role != Qt::DisplayRole)
            return {};
        const auto &row = table_.rows[std::size_t(index.row())];
        return QString::fromStdString(
            resultrows::cellText(row[std::size_t(index.column())], separator_));
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        if (orientation == Qt::Vertical)
            return section + 1;
        return QString::fromStdString(table_.columns[std::size_t(section)].title);
    }

private:
    const resultrows::Table table_;
    const char separator_;
};

} // namespace

ResultsDialog::ResultsDialog(resultrows::Table table, QWidget *parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Results"));
    Table = new QTableView(this);
    auto *model = new ResultsModel(std::move(table), this);
    table_ = &model->table();
    Table->setModel(model);
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Table->horizontalHeader()->setStretchLastSection(true);
    Table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Table->verticalHeader()->setDefaultSectionSize(Table->fontMetrics().height() + 6);

    auto *buttons = new QDialogButtonBox(this);
    CopyButton = buttons->addButton(QStringLiteral("Copy"), QDialogButtonBox::ActionRole);
    ExportButton =
        buttons->addButton(QStringLiteral("Export CSV\u2026"), QDialogButtonBox::ActionRole);
    CloseButton = buttons->addButton(QDialogButtonBox::Close);
    connect(CopyButton, &QPushButton::clicked, this, guarded([this] { CopyClick(); }));
    connect(ExportButton, &QPushButton::clicked, this, guarded([this] { ExportClick(); }));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Table);
    layout->addWidget(buttons);
    resize(520, 420);
}

void ResultsDialog::CopyClick() {
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(resultrows::copyText(*table_, tarvel::localeDecimalSeparator())));
}

void ResultsDialog::ExportClick() {
    const QString name = dialogs().chooseSaveFile(
        this, QStringLiteral("CSV Files (*.csv);;All Files (*)"), QStringLiteral("csv"));
    if (name.isEmpty())
        return;
    const std::string text = resultrows::csvText(*table_);
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), qint64(text.size())) != qint64(text.size()) || !file.commit())
        throw tarvel::Error("The results could not be written to the file " + name.toStdString() +
                            ": " + file.errorString().toStdString());
}
