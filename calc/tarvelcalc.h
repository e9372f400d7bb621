#pragma once

#include "workerthread.h"

#include <atomic>
#include <cstdint>

class TDataModule1;

// The geometry calculation on a worker thread of its own. Calling order:
// create (suspended), LoadModel, Resume, poll Progress, delete (which waits).
// The body computes coefficients 1..Neigen (see geometrycoefficients.h) and
// only then stores them in the model with SetCoefficient, each as a float.
//
// A failure (a geometry at which the coefficients are undefined, no model, no
// memory) stores nothing and goes to ReportCalculationError. Either way
// Progress ends at max(Neigen, 0) + 1 when the body returns, so a progress bar
// always completes; the return of the body is what says the store is done.
class tarvelcalc final : public TThread {
public:
    tarvelcalc() = default;
    ~tarvelcalc() override;

    // Copies the geometry, the emission distance and Neigen (floats widened to
    // double) and keeps the model, which the body writes the coefficients to.
    void LoadModel(TDataModule1 *model);

    // The index of the coefficient being computed; Neigen + 1 once all are.
    std::atomic<std::int32_t> Progress{0};

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
