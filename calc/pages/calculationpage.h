#pragma once

#include <QDialog>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <memory>

class QLabel;

// What the two progress pages share: the picture, the caption line, the
// progress bar, the three wizard buttons and the 200 ms poll timer. A page is
// used in two ways: modally from the main window's Recalculate, where Cancel
// stops the run and closes the page, and as a wizard page shown without
// modality, where it moves on by itself when its run ends.
class CalculationPage : public QDialog {
    Q_OBJECT

public:
    CalculationPage(const QString &caption, const QString &headline, QWidget *parent = nullptr);

    QLabel *Label1;
    QLabel *Image1;
    QProgressBar *ProgressBar1;
    QPushButton *Button1; // "Cancel"
    QPushButton *Button2; // "> Next"
    QPushButton *Button3; // "< Back"
    QTimer *Timer1;

    // The page's run starts when the page becomes active (shown). Tests call
    // the handlers directly instead of waiting for the timer.
    virtual void FormActivate() = 0;
    virtual void Timer1Timer() = 0;
    // True while a calculation of this page exists.
    virtual bool Running() const = 0;
    // Blocks until the running calculation's body has returned (for tests and
    // for closing); the page still collects it at its next timer tick.
    virtual void WaitForRun() = 0;
    // Asks the running calculation to stop and waits for it; nothing is drawn.
    virtual void StopRun() = 0;

    // Shown through QDialog::exec (or a test's stand-in that marks it modal).
    bool ShownModally() const;

protected:
    // The steps both pages take with their calculation. A run starts with the
    // bar at 0 of `maximum` and "> Next" off; each tick moves the bar, and the
    // run has ended once the worker says Finished (its results are then stored).
    template <typename Calc>
    void StartRun(std::unique_ptr<Calc> &slot, std::unique_ptr<Calc> calc, int maximum) {
        ProgressBar1->setRange(0, std::max(maximum, 0));
        ProgressBar1->setValue(0);
        Button2->setEnabled(false);
        calc->Resume();
        slot = std::move(calc);
        Timer1->start();
    }
    template <typename Calc> bool RunEnded(const std::unique_ptr<Calc> &calc) {
        if (!calc) {
            Timer1->stop();
            return false;
        }
        ProgressBar1->setValue(std::min(calc->Progress.load(), ProgressBar1->maximum()));
        if (!calc->Finished.load(std::memory_order_acquire))
            return false;
        Timer1->stop();
        return true;
    }
    template <typename Calc> void Stop(std::unique_ptr<Calc> &calc) {
        Timer1->stop();
        if (calc) {
            calc->RequestStop();
            calc.reset(); // waits for the body, which stops at its next term
        }
    }
    template <typename Calc> static void Wait(const std::unique_ptr<Calc> &calc) {
        if (calc)
            calc->WaitFor();
    }

    void showEvent(QShowEvent *event) override;
    // A page must not be closed by Escape while it runs; Cancel does that.
    void reject() override;
    void CloseModal(int result);
};
