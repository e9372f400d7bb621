#pragma once

#include "agecalculation.h"
#include "workerthread.h"

#include <atomic>
#include <cstdint>
#include <vector>

class TDataModule1;

// The age calculation on a worker thread of its own. Calling order: create
// (suspended), set NPoints, Times and Temps (and Method), LoadModel, Resume,
// poll Progress and Finished, read Results once Finished, delete (which waits).
//
// Every failure is caught in the body: a refused history (time running
// backwards, a temperature at or below absolute zero), a value that is not a
// finite number, no memory. Its message goes to ReportCalculationError, all
// Results stay 0, and Finished is set all the same.
class gammacalc final : public TThread {
public:
    gammacalc() = default;
    ~gammacalc() override;

    // Inputs. Slots 0..NPoints, slot 0 unused; temperatures in degrees Celsius.
    std::int32_t NPoints = 0;
    std::vector<double> Times;
    std::vector<double> Temps;
    AgeMethod Method = AgeMethod::Fast;

    // Copies the sphere radius, Neigen, the activation energy and D0, keeps the
    // model (the body reads the emission zone and the coefficients from it) and
    // sizes Results to NPoints + 1 zeros. Call after setting the inputs.
    void LoadModel(TDataModule1 *model);

    // Outputs. Progress is the last term j whose sums are complete. Finished is
    // stored (release) after Results; read it with acquire before Results.
    std::atomic<std::int32_t> Progress{0};
    std::atomic<bool> Finished{false};
    // Calculated time per point, slots 1..NPoints; NPoints + 1 slots unless
    // there was not even memory for those (then a failure was reported).
    std::vector<double> Results;

protected:
    void Execute() override;

private:
    void Calculate();

    TDataModule1 *Model = nullptr;
    double R = 0.0;
    std::int32_t N = 0;
    long double Ea = 0.0L;
    long double D0 = 0.0L;
};
