#pragma once

#include <QString>
#include <QWidget>

#include <vector>

class QLabel;
class QTimer;

// The splash window: shows the grain picture for three seconds, then decides
// where the user starts, and from then on, hidden, runs the closing check
// every three seconds.
class TSplash : public QWidget {
    Q_OBJECT

public:
    explicit TSplash(QWidget *parent = nullptr);

    QLabel *Image1;
    QTimer *Timer1;

    // The windows whose visibility keeps the program running, in the order the
    // check tests them: the wizard pages and the main window.
    std::vector<QWidget *> Pages;
    // The first page of the wizard; until it exists the start without
    // settings shows the main window with the values it was created with.
    QWidget *IntroPage = nullptr;
    // A data file named on the command line: opened in the main window once
    // the start is decided, as Open opens it (empty: none).
    QString StartFile;

    void Timer1Timer();
    // Ends the program when none of the Pages is visible, after offering to
    // store the settings if none are stored yet.
    void ClosingCheck();

private:
    void StartUpDecision();
    void OpenStartFile();
    bool AnyPageVisible() const;

    bool checking_ = false;
};
