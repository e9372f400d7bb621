// The graph's pop-up menu: "Copy", "Fit to Data", "Axes…" and "Save Image…"
// always, "Add Point" and "Delete Point" for editable graphs, "Delete Box" in
// box mode, and whatever the host appends.
#include "xygraph.h"

#include "axesdialog.h"
#include "graphdialogs.h"

#include <QAction>
#include <QMenu>

#include <algorithm>

QAction *Txygraph::AddMenu(const QString &caption, MenuHandler handler) {
    auto *action = new QAction(caption, popup_);
    menudefs_.push_back({caption, editable_, int(popup_->actions().size())});
    action->setEnabled(true);
    connect(action, &QAction::triggered, this, [action, handler = std::move(handler)] {
        if (handler)
            handler(action);
    });
    popup_->addAction(action);
    return action;
}

void Txygraph::ClearMenu() {
    // A handler may clear the menu it was called from: its entry goes later.
    for (QAction *action : popup_->actions()) {
        popup_->removeAction(action);
        action->deleteLater();
    }
    menudefs_.clear();
    AddMenu(QStringLiteral("Copy"), [this](QAction *) { CopyPopup(); });
}

QAction *Txygraph::findmenu(const QString &caption) const {
    for (const MenuDef &def : menudefs_)
        if (def.caption == caption)
            return popup_->actions().value(def.index, nullptr);
    return nullptr;
}

void Txygraph::Seteditable(bool v) {
    editable_ = v;
    bool hasAdd = false, hasDelete = false;
    for (const MenuDef &def : menudefs_) {
        hasAdd = hasAdd || def.caption == QLatin1String("Add Point");
        hasDelete = hasDelete || def.caption == QLatin1String("Delete Point");
        if (def.editonly)
            if (QAction *action = popup_->actions().value(def.index, nullptr))
                action->setEnabled(true);
    }
    if (!hasAdd)
        AddMenu(QStringLiteral("Add Point"), [this](QAction *) { AddPopup(); });
    if (!hasDelete)
        AddMenu(QStringLiteral("Delete Point"), [this](QAction *) { DelPopup(); });
}

// "Fit to Data", "Axes…" and "Save Image…" join every graph's menu, right
// after "Copy", as the menu opens: hosts build and rebuild their own entries
// without minding them.
void Txygraph::ensureViewEntries() {
    const std::pair<QString, std::function<void()>> entries[] = {
        {QStringLiteral("Fit to Data"),
         [this] {
             syncSize();
             core_.fitToData();
         }},
        {QStringLiteral("Axes\u2026"), [this] { AxesPopup(); }},
        {QStringLiteral("Save Image\u2026"), [this] { SaveImagePopup(); }},
    };
    int at = std::min<int>(1, int(popup_->actions().size()));
    for (const auto &[caption, run] : entries) {
        if (QAction *present = findmenu(caption)) {
            at = int(popup_->actions().indexOf(present)) + 1;
            continue;
        }
        insertEntry(at++, caption, run);
    }
}

void Txygraph::insertEntry(int at, const QString &caption, std::function<void()> run) {
    auto *action = new QAction(caption, popup_);
    // A failure stops at the entry's edge and is shown, as for every command.
    connect(action, &QAction::triggered, this, graphGuarded(std::move(run)));
    popup_->insertAction(popup_->actions().value(at, nullptr), action);
    for (MenuDef &def : menudefs_)
        if (def.index >= at)
            ++def.index;
    menudefs_.push_back({caption, false, at});
}

void Txygraph::AxesPopup() {
    AxesDialog dialog(window());
    dialog.setWindow({getxzero(), getxmax(), getyzero(), getymax()});
    if (execGraphModal(dialog) != QDialog::Accepted || !dialog.chosenWindow())
        return;
    syncSize();
    core_.settleAxes(); // a refit still due comes first, so it cannot undo the choice
    const axesentry::Window &w = *dialog.chosenWindow();
    core_.map().setxzero(w.xzero);
    core_.map().setxmax(w.xmax);
    core_.map().setyzero(w.yzero);
    core_.map().setymax(w.ymax);
    core_.invalidate();
}

// "Delete Box" joins the menu as it opens, shown only in box mode.
void Txygraph::updateBoxEntry() {
    const QString caption = QStringLiteral("Delete Box");
    QAction *entry = findmenu(caption);
    if (!entry && !core_.boxMode())
        return;
    if (!entry) {
        insertEntry(int(popup_->actions().size()), caption, [this] { deleteBox(); });
        entry = findmenu(caption);
    }
    entry->setVisible(core_.boxMode());
    entry->setEnabled(selectedBox() >= 0);
}

void Txygraph::PopupClick() {
    syncSize();
    ensureViewEntries();
    updateBoxEntry();
    if (QAction *add = findmenu(QStringLiteral("Add Point")))
        add->setEnabled(core_.edit().addPointEnabled(core_.map()));
    if (QAction *del = findmenu(QStringLiteral("Delete Point")))
        del->setEnabled(core_.edit().pressedPoint(core_.store(), core_.map()) != nullptr);
}

void Txygraph::AddPopup() {
    syncSize();
    if (core_.AddPoint())
        userEdited();
}

void Txygraph::DelPopup() {
    syncSize();
    if (core_.DeletePoint())
        userEdited();
}
