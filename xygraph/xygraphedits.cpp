// Edits of the points as wholes: undo, redo and a pasted line.
#include "xygraph.h"

#include "numbertext.h"
#include "pastedblock.h"
#include "penstrokes.h"

#include <QAction>
#include <QMenu>

namespace {

const QKeySequence kUndoKeys(Qt::CTRL | Qt::Key_Z);
const QKeySequence kRedoKeys(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);

} // namespace

void Txygraph::setUndoable() {
    if (undoAction_)
        return;
    undo_.reset(core_.store().shape());
    // The keys work anywhere in the window; a text field with the focus
    // takes them for its own undo first.
    undoAction_ = new QAction(QStringLiteral("Undo"), this);
    undoAction_->setShortcut(kUndoKeys);
    undoAction_->setShortcutContext(Qt::WindowShortcut);
    connect(undoAction_, &QAction::triggered, this, [this] { undoEdit(); });
    addAction(undoAction_);
    redoAction_ = new QAction(QStringLiteral("Redo"), this);
    redoAction_->setShortcut(kRedoKeys);
    redoAction_->setShortcutContext(Qt::WindowShortcut);
    connect(redoAction_, &QAction::triggered, this, [this] { redoEdit(); });
    addAction(redoAction_);
    updateUndoActions();

    // The menu's entries go last, as the menu opens, so hosts may rebuild
    // their own entries without minding them.
    connect(popup_, &QMenu::aboutToShow, this, [this] {
        for (QAction *key : {undoAction_, redoAction_}) {
            QAction *entry = findmenu(key->text());
            if (!entry) {
                entry = AddMenu(key->text(), [key](QAction *) { key->trigger(); });
                entry->setShortcut(key->shortcut()); // shown beside the entry
                entry->setShortcutContext(Qt::WidgetShortcut);
            }
            entry->setEnabled(key->isEnabled() && !Fbarmode());
        }
    });
}

void Txygraph::userEdited() {
    recordEdit();
    emit pointsEdited();
}

void Txygraph::pasteLine(const QString &text) {
    const auto points = tarvel::pastedPoints(text.toStdString(), tarvel::localeDecimalSeparator());
    std::vector<FPOINT> line;
    line.reserve(points.size());
    for (const tarvel::TablePoint &p : points)
        line.push_back({p.time, p.temp});
    Clear();
    drawPolyline(*this, line);
    Invalidate();
    growToFit();
    userEdited();
}

void Txygraph::recordEdit() {
    // Bars are a view of the curve, not a change of it.
    if (undoAction_ && !Fbarmode() && undo_.record(core_.store().shape()))
        updateUndoActions();
}

void Txygraph::forgetEdits() {
    if (!undoAction_)
        return;
    undo_.reset(core_.store().shape());
    updateUndoActions();
}

bool Txygraph::undoEdit() {
    return stepEdit(true);
}

bool Txygraph::redoEdit() {
    return stepEdit(false);
}

bool Txygraph::stepEdit(bool back) {
    if (!undoAction_ || Fbarmode())
        return false;
    const auto current = core_.store().shape();
    const auto shape = back ? undo_.undo(current) : undo_.redo(current);
    updateUndoActions();
    if (!shape)
        return false;
    core_.restoreShape(*shape);
    core_.growToFit();
    emit pointsEdited();
    return true;
}

void Txygraph::updateUndoActions() {
    undoAction_->setEnabled(undo_.canUndo());
    redoAction_->setEnabled(undo_.canRedo());
}
