#include "calculationjob.h"

#include "calcerrors.h"

#include <algorithm>
#include <exception>
#include <new>

namespace {

std::int32_t termsOf(const CalculationJob::Input &input) {
    if (const auto *geometry = std::get_if<GeometryJobInput>(&input))
        return geometry->terms;
    return std::get<AgeJobInput>(input).model.terms;
}

} // namespace

CalculationJob::CalculationJob(Input input, QObject *parent)
    : QObject(parent), input_(std::move(input)) {}

CalculationJob::~CalculationJob() {
    // The thread reads the input and posts to this object: both must outlive it.
    stop_.store(true);
    if (thread_.joinable())
        thread_.join();
}

int CalculationJob::progressMaximum() const {
    return std::max<std::int32_t>(termsOf(input_), 0);
}

void CalculationJob::start() {
    if (started_)
        return;
    thread_ = std::thread([this] { run(); });
    started_ = true;
}

void CalculationJob::requestStop() {
    stop_.store(true);
}

bool CalculationJob::running() const {
    return started_ && !delivered_ && !stop_.load();
}

void CalculationJob::waitForEnd() {
    if (thread_.joinable())
        thread_.join();
    deliver();
}

void CalculationJob::run() {
    try {
        if (const auto *geometry = std::get_if<GeometryJobInput>(&input_)) {
            result_ = geometryCoefficients(
                *geometry, [this](std::int32_t k) { progress_.store(k); }, &stop_);
        } else if (const auto &age = std::get<AgeJobInput>(input_); age.model.parents) {
            heliumAges_ = historyHeliumAges(age, &progress_, &stop_);
            for (const HeliumAge &row : heliumAges_)
                result_.push_back(row.rawAge);
        } else {
            result_ = historyAges(age, &progress_, &stop_);
        }
        outcome_ = Outcome::Done;
    } catch (const CalculationStopped &) {
        outcome_ = Outcome::Stopped;
    } catch (const std::bad_alloc &) {
        outcome_ = Outcome::Failed;
        if (const auto *age = std::get_if<AgeJobInput>(&input_))
            failure_ = "There is not enough memory for the age calculation of " +
                       std::to_string(age->history.size()) + " points with " +
                       std::to_string(age->model.terms) + " eigenvalues.";
        else
            failure_ = "There is not enough memory for the geometry calculation.";
    } catch (const std::exception &e) {
        outcome_ = Outcome::Failed;
        failure_ = e.what();
    } catch (...) {
        outcome_ = Outcome::Failed;
        failure_ = "The calculation stopped with an unknown failure.";
    }
    if (outcome_ != Outcome::Done) {
        result_.clear();
        heliumAges_.clear();
    }
    progress_.store(progressMaximum()); // a bar completes however the run ended
    // The last thing the thread does: everything above is written before the
    // job's thread can see the call, and deliver() joins before reading it.
    QMetaObject::invokeMethod(this, &CalculationJob::deliver, Qt::QueuedConnection);
}

void CalculationJob::deliver() {
    if (delivered_ || !started_)
        return;
    if (thread_.joinable())
        thread_.join(); // returns at once: the thread has posted its last call
    delivered_ = true;
    // A run asked to stop ends quietly, even when it got to the end first.
    if (stop_.load())
        return;
    if (outcome_ == Outcome::Done)
        emit finished(result_);
    else if (outcome_ == Outcome::Failed)
        emit failed(QString::fromStdString(failure_));
}
