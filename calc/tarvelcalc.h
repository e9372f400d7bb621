#pragma once

#include "workerthread.h"

#include <atomic>
#include <cstdint>

class TDataModule1;

// The geometry calculation on a worker thread of its own. Calling order:
// create (suspended), LoadModel, Resume, poll Progress / Finished, delete
// (which waits). The body computes coefficients 1..Neigen (see
// geometrycoefficients.h) from the inputs LoadModel copied and only then stores
// them in the model with SetCoefficient, each as a float; it reads nothing
// from the model.
//
// Outcomes, each ending with Progress at max(Neigen, 0) + 1 (so a progress bar
// completes) and then Finished (release) as the body's last action:
// - done: all coefficients stored before Progress reaches its end;
// - stopped (RequestStop): nothing stored, Stopped set, nothing reported;
// - failed (a geometry at which the coefficients are undefined, no model, no
//   memory): nothing stored, the message goes to ReportCalculationError, and
//   Failed is set.
// A poller that sees Finished (acquire) may read the store and the flags.
class tarvelcalc final : public TThread {
public:
    tarvelcalc() = default;
    ~tarvelcalc() override;

    // Copies the geometry, the emission distance and Neigen (floats widened to
    // double) and keeps the model, which the body writes the coefficients to.
    void LoadModel(TDataModule1 *model);

    // The index of the coefficient being computed; Neigen + 1 once all are
    // stored (or the run has ended otherwise).
    std::atomic<std::int32_t> Progress{0};
    std::atomic<bool> Finished{false};
    std::atomic<bool> Stopped{false};
    std::atomic<bool> Failed{false};

protected:
    void Execute() override;

private:
    void Calculate();

    TDataModule1 *Model = nullptr;
    double R = 0.0; // sphere radius
    double b = 0.0; // outer radius of the emission zone
    double a = 0.0; // inner radius of the emission zone
    double S = 0.0; // emission distance
    std::int32_t N = 0;
};
