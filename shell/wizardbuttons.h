#pragma once

class QPushButton;
class QWidget;

// The buttons along the bottom of every wizard page, at the same places on
// each page, so that the pages replacing one another keep them under the mouse.
struct WizardButtons {
    QPushButton *back;   // "< Back"
    QPushButton *next;   // "> Next"
    QPushButton *cancel; // "Cancel"
};

WizardButtons addWizardButtons(QWidget *page);
