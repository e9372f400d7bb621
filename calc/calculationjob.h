#pragma once

#include "jobinputs.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <variant>
#include <vector>

// One calculation run on a thread of its own. The job lives in the thread that
// creates it (the user-interface thread); it copies nothing from a data set,
// since its input already is a copy, and it writes nothing anywhere: whoever
// started it decides what to do with the result.
//
//   construct (input) -> start() -> progress() while it runs
//   -> finished(result) or failed(message), queued to the job's thread
//
// A stop request ends the run at its next term without a signal. Destroying a
// job asks it to stop and waits for its thread.
class CalculationJob : public QObject {
    Q_OBJECT

public:
    using Input = std::variant<GeometryJobInput, AgeJobInput>;

    explicit CalculationJob(Input input, QObject *parent = nullptr);
    ~CalculationJob() override;
    CalculationJob(const CalculationJob &) = delete;
    CalculationJob &operator=(const CalculationJob &) = delete;

    const Input &input() const { return input_; }

    // The term being worked on, 0 before the first; progressMaximum() once the
    // run has ended, however it ended.
    int progress() const { return progress_.load(); }
    int progressMaximum() const;

    // Starts the run; only the first call does anything. Throws
    // std::system_error when the system cannot start a thread.
    void start();
    // May be called at any time, also before start or after the end.
    void requestStop();
    // Started, and neither its signal delivered nor asked to stop.
    bool running() const;

    // For an age run of a data set with parents, once finished() has been
    // emitted: the helium and ages at every point, index 0 first (finished()
    // carries the raw ages). Empty otherwise.
    const std::vector<HeliumAge> &heliumAges() const { return heliumAges_; }

    // Blocks until the thread has returned and then delivers the ending at
    // once instead of from the event loop (for callers that cannot return to
    // the event loop, and for tests).
    void waitForEnd();

signals:
    // Coefficients 1..N (geometry) or the calculated time at every history
    // point, index 0 first (ages); slot 0 of the coefficients is unused.
    void finished(const std::vector<double> &result);
    // Why the run failed, in the user's words.
    void failed(const QString &message);

private:
    enum class Outcome { None, Done, Stopped, Failed };

    void run(); // the thread's body
    void deliver();

    const Input input_;
    std::thread thread_;
    std::atomic<std::int32_t> progress_{0};
    std::atomic<bool> stop_{false};
    bool started_ = false;
    bool delivered_ = false;
    // Written by the thread before it returns; read only after joining it.
    Outcome outcome_ = Outcome::None;
    std::vector<double> result_;
    std::vector<HeliumAge> heliumAges_;
    std::string failure_;
};
