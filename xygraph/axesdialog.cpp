#include "axesdialog.h"

#include "graphdialogs.h"
#include "numbertext.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit *newEdit(const char *name, QWidget *parent) {
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    // Room for a long end such as -1.23456789E-38.
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("-8.88888888E-38")) +
                          12);
    return edit;
}

} // namespace

AxesDialog::AxesDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("Axes"));
    setModal(true);
    xFrom = newEdit("xFrom", this);
    xTo = newEdit("xTo", this);
    yFrom = newEdit("yFrom", this);
    yTo = newEdit("yTo", this);
    okButton = new QPushButton(QStringLiteral("OK"), this);
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    okButton->setDefault(true);

    // A row per axis, "From" and "To" above the two columns of edits.
    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("From"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("To"), this), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Horizontal"), this), 1, 0);
    grid->addWidget(xFrom, 1, 1);
    grid->addWidget(xTo, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Vertical"), this), 2, 0);
    grid->addWidget(yFrom, 2, 1);
    grid->addWidget(yTo, 2, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addSpacing(8);
    outer->addLayout(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(xFrom, xTo);
    setTabOrder(xTo, yFrom);
    setTabOrder(yFrom, yTo);
    setTabOrder(yTo, okButton);
    setTabOrder(okButton, cancelButton);

    connect(okButton, &QPushButton::clicked, this, graphGuarded([this] { okClick(); }));
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void AxesDialog::setWindow(const axesentry::Window &window) {
    const auto texts = axesentry::textsOf(window, tarvel::localeDecimalSeparator());
    xFrom->setText(QString::fromStdString(texts.xFrom));
    xTo->setText(QString::fromStdString(texts.xTo));
    yFrom->setText(QString::fromStdString(texts.yFrom));
    yTo->setText(QString::fromStdString(texts.yTo));
    chosen_.reset();
    xFrom->setFocus();
    xFrom->selectAll();
}

QLineEdit *AxesDialog::editOf(axesentry::Edit edit) const {
    switch (edit) {
    case axesentry::Edit::xFrom:
        return xFrom;
    case axesentry::Edit::xTo:
        return xTo;
    case axesentry::Edit::yFrom:
        return yFrom;
    case axesentry::Edit::yTo:
        break;
    }
    return yTo;
}

void AxesDialog::okClick() {
    const axesentry::Texts texts{xFrom->text().toStdString(), xTo->text().toStdString(),
                                 yFrom->text().toStdString(), yTo->text().toStdString()};
    try {
        chosen_ = axesentry::windowOf(texts, tarvel::localeDecimalSeparator());
    } catch (const axesentry::EntryError &e) {
        // The user corrects the named edit without hunting for it.
        QLineEdit *edit = editOf(e.edit());
        edit->setFocus();
        edit->selectAll();
        throw;
    }
    accept();
}
