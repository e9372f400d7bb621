// The graph's pop-up menu: "Copy" always, "Add Point" and "Delete Point" for
// editable graphs, and whatever the host appends.
#include "xygraph.h"

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

// "Fit to Data" joins every graph's menu, right after "Copy", as the menu
// opens: hosts build and rebuild their own entries without minding it.
void Txygraph::ensureFitEntry() {
    if (findmenu(QStringLiteral("Fit to Data")))
        return;
    auto *action = new QAction(QStringLiteral("Fit to Data"), popup_);
    connect(action, &QAction::triggered, this, [this] {
        syncSize();
        core_.fitToData();
    });
    const int at = std::min<int>(1, int(popup_->actions().size()));
    popup_->insertAction(popup_->actions().value(at, nullptr), action);
    for (MenuDef &def : menudefs_)
        if (def.index >= at)
            ++def.index;
    menudefs_.push_back({action->text(), false, at});
}

void Txygraph::PopupClick() {
    syncSize();
    ensureFitEntry();
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
