#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class TextBox;

// "Demonstration Intro": the first page of the wizard, with the grain picture
// and a short introduction.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    explicit TForm1(QWidget *parent = nullptr);

    QLabel *Image1;
    TextBox *Memo1;       // editable, never read back
    QPushButton *Button2; // "> Next"
    QPushButton *Button1; // "Cancel"

    QWidget *GrainPage = nullptr; // set when the roster is created

    void Button2Click();
    void Button1Click();
};
