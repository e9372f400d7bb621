#pragma once

#include "agecalculation.h"
#include "workerthread.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

class TDataModule1;

// The age calculation on a worker thread of its own. Calling order: create
// (suspended), set NPoints, Times and Temps (and Method), LoadModel, Resume,
// poll Progress and Finished, read Results once Finished, delete (which waits).
// The body reads only its own copies, never the model.
//
// Outcomes, each ending with Finished (release) as the body's last action:
// - done: Results hold the calculated times;
// - stopped (RequestStop, checked once per term): Results stay 0, Stopped is
//   set, nothing is reported;
// - failed (a refused history or model, fewer than 5 eigenvalues, a value that
//   is not a finite number, no memory): the message goes to
//   ReportCalculationError, Results stay 0, and Failed is set.
class gammacalc final : public TThread {
public:
    gammacalc() = default;
    ~gammacalc() override;

    // Inputs. Slots 0..NPoints, slot 0 unused; temperatures in degrees Celsius.
    std::int32_t NPoints = 0;
    std::vector<double> Times;
    std::vector<double> Temps;
    AgeMethod Method = AgeMethod::Fast;

    // Copies the grain geometry, Neigen, the activation energy, D0 and the
    // geometry coefficients 1..Neigen that the store holds (the others read 0),
    // and sizes Results to NPoints + 1 zeros. Call after setting the inputs and
    // after the geometry run that fills the store has returned.
    void LoadModel(TDataModule1 *model);

    // Outputs. Progress is the last term j whose sums are complete. Finished is
    // stored (release) after Results; read it with acquire before Results.
    std::atomic<std::int32_t> Progress{0};
    std::atomic<bool> Finished{false};
    std::atomic<bool> Stopped{false};
    std::atomic<bool> Failed{false};
    // Calculated time per point, slots 1..NPoints; NPoints + 1 slots unless
    // there was not even memory for those (then a failure was reported).
    std::vector<double> Results;

protected:
    void Execute() override;

private:
    void Calculate();

    bool HaveModel = false;
    std::string LoadFailure; // set when LoadModel ran out of memory
    double R = 0.0;
    double b = 0.0; // outer radius of the emission zone
    double a = 0.0; // inner radius of the emission zone
    double S = 0.0; // emission distance (the precise method's kept fraction)
    std::int32_t N = 0;
    long double Ea = 0.0L;
    long double D0 = 0.0L;
    std::vector<double> Coefficients; // slot j holds coefficient j
};
