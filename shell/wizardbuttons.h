#pragma once

class QPushButton;
class QWidget;

// The buttons along the bottom of every wizard page, at the same places on
// each page, so that the pages replacing one another keep them under the mouse.
// Enter on the page presses "> Next" (see enterPressesNext).
struct WizardButtons {
    QPushButton *back;   // "< Back"
    QPushButton *next;   // "> Next"
    QPushButton *cancel; // "Cancel"
};

WizardButtons addWizardButtons(QWidget *page);

// Return and the keypad's Enter anywhere on `page` press `next` while it is
// enabled and do nothing while it is not; the pages are plain windows, where a
// default button means nothing. This holds with the focus on another button as
// well (Space presses the focused button), so Enter never ends the program
// through a focused "Cancel". A control that takes Enter itself (a multi-line
// text box starts a new line) keeps it. A held key's repeats are ignored, so
// holding Enter moves on one page only.
void enterPressesNext(QWidget *page, QPushButton *next);
