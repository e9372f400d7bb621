#include "calculationpage.h"

#include "application.h"
#include "calcerrors.h"
#include "jpegimage.h"
#include "penstrokes.h"
#include "wizardbuttons.h"
#include "xygraph.h"

#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace {
constexpr int kProgressMs = 200;
}

CalculationPage::CalculationPage(Kind kind, const QString &caption, const QString &headline,
                                 QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), kind_(kind) {
    setWindowTitle(caption);
    setFixedSize(434, 285);

    Image1 = new QLabel(this);
    Image1->setGeometry(8, 8, 121, 209);
    Image1->setPixmap(QPixmap::fromImage(tarvel::grainPicture()).scaled(121, 209));

    Label1 = new QLabel(headline, this);
    Label1->move(200, 40);
    Label1->adjustSize();

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setGeometry(200, 96, 217, 17);
    ProgressBar1->setTextVisible(false);

    const WizardButtons buttons = addWizardButtons(this);
    Button3 = buttons.back;
    Button2 = buttons.next;
    Button2->setEnabled(false);
    Button1 = buttons.cancel;
    connect(Button1, &QPushButton::clicked, this, guarded([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, guarded([this] { Button2Click(); }));
    connect(Button3, &QPushButton::clicked, this, guarded([this] { Button3Click(); }));

    Timer1 = new QTimer(this);
    Timer1->setInterval(kProgressMs);
    connect(Timer1, &QTimer::timeout, this, guarded([this] { Timer1Timer(); }));
}

// The job's destructor stops and waits for a run still going.
CalculationPage::~CalculationPage() = default;

bool CalculationPage::Running() const {
    return Job && Job->running();
}

void CalculationPage::FormActivate() {
    if (Running() || !Input)
        return; // shown again while its run goes on: follow that run
    // A job that has ended is kept until the next run replaces it, so that
    // nothing is destroyed while it announces its ending.
    lastAge_ = {};
    Job = std::make_unique<CalculationJob>(Input());
    connect(Job.get(), &CalculationJob::finished, this,
            [this](const std::vector<double> &result) { guarded([&] { RunFinished(result); })(); });
    connect(Job.get(), &CalculationJob::failed, this,
            [this](const QString &message) { guarded([&] { RunFailed(message); })(); });
    ProgressBar1->setRange(0, Job->progressMaximum());
    ProgressBar1->setValue(0);
    Button2->setEnabled(false);
    Job->start();
    Timer1->start();
}

void CalculationPage::Timer1Timer() {
    if (!Running()) {
        Timer1->stop();
        return;
    }
    ProgressBar1->setValue(std::min(Job->progress(), ProgressBar1->maximum()));
}

void CalculationPage::WaitForRun() {
    if (Job)
        Job->waitForEnd();
}

void CalculationPage::StopRun() {
    Timer1->stop();
    lastAge_ = {};
    Job.reset(); // asks the run to stop and waits for it; it ends without a signal
}

void CalculationPage::RunFinished(const std::vector<double> &result) {
    Timer1->stop();
    ProgressBar1->setValue(ProgressBar1->maximum());
    if (Completed)
        Completed(result);
    if (kind_ == Kind::Age) {
        const auto &history = std::get<AgeJobInput>(Job->input()).history;
        lastAge_.ages = result;
        lastAge_.history.assign(history.begin(),
                                history.begin() +
                                    std::ptrdiff_t(std::min(history.size(), result.size())));
        lastAge_.ages.resize(lastAge_.history.size());
        lastAge_.helium = Job->heliumAges();
        if (!lastAge_.helium.empty())
            lastAge_.helium.resize(lastAge_.history.size());
        DrawResults(result);
    }
    RunEnded(true);
}

void CalculationPage::RunFailed(const QString &message) {
    Timer1->stop();
    ReportCalculationError(message.toStdString());
    if (kind_ == Kind::Age && TargetGraph)
        TargetGraph->Clear(); // a flat line at 0 would look like a result
    RunEnded(false);
}

void CalculationPage::RunEnded(bool completed) {
    if (kind_ == Kind::Geometry) {
        // Without coefficients an age run would use stale ones: stay.
        if (!completed) {
            if (ShownModally())
                done(QDialog::Rejected);
            return;
        }
        Button2->setEnabled(true);
        if (ShownModally())
            done(QDialog::Accepted);
        else
            ShowNextPage();
        return;
    }
    Button2->setEnabled(true);
    if (NextForm) {
        NextForm->show();
        NextForm = nullptr;
    }
    if (TargetGraph)
        TargetGraph->Invalidate();
    if (ShownModally())
        done(QDialog::Accepted);
    else
        hide();
}

// Calculated time against real time as one line.
void CalculationPage::DrawResults(const std::vector<double> &ages) {
    if (!TargetGraph)
        return;
    TargetGraph->Clear();
    const auto &history = std::get<AgeJobInput>(Job->input()).history;
    std::vector<FPOINT> points;
    points.reserve(ages.size());
    for (std::size_t i = 0; i < ages.size() && i < history.size(); ++i)
        points.push_back({history[i].x, static_cast<float>(ages[i])});
    drawPolyline(*TargetGraph, points);
    TargetGraph->growToFit();
}

void CalculationPage::ShowNextPage() {
    hide();
    if (NextPage) {
        NextPage->move(pos());
        NextPage->show();
    }
}

void CalculationPage::Button1Click() {
    if (!ShownModally()) {
        endProgram();
        return;
    }
    // From Recalculate, Cancel stops the run; an age run leaves the result
    // graph empty.
    StopRun();
    if (kind_ == Kind::Age) {
        if (TargetGraph) {
            TargetGraph->Clear();
            TargetGraph->Invalidate();
        }
        NextForm = nullptr;
    }
    done(QDialog::Rejected);
}

void CalculationPage::Button2Click() {
    ShowNextPage();
}

void CalculationPage::Button3Click() {
    // A geometry run ends without moving on: the user goes back to change the
    // grain. An age run goes on and still brings up its result when it ends.
    if (kind_ == Kind::Geometry)
        StopRun();
    hide();
    if (BackPage)
        BackPage->show();
}

bool CalculationPage::ShownModally() const {
    return isModal() || testAttribute(Qt::WA_ShowModal);
}

void CalculationPage::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    // A modal page has no way back: it returns to the window that opened it.
    Button3->setVisible(!ShownModally());
    FormActivate();
}

void CalculationPage::reject() {
    // Escape or the window manager's close on a modal page means Cancel: stop
    // the run and go back. A wizard page is left only through its buttons.
    if (ShownModally())
        Button1->click();
}
