#pragma once

#include "agecalculation.h"
#include "fpoint.h"

#include <string>
#include <vector>

class TDataModule1;

// The pieces a single run and a batch of histories share, so that both give
// the same numbers for the same history.

// The age input of the model's grain, constants and stored coefficients, as
// the age worker copies them; times and temperatures are left empty.
AgeInput modelAgeInput(const TDataModule1 &model);

// The history the age calculation sees: the points as the temperature graph
// holds them, split into bar steps when `steps` is set.
std::vector<FPOINT> historyPoints(std::vector<FPOINT> points, bool steps);

// The calculated time at every point (index 0 first) of a history.
std::vector<double> historyAges(const AgeInput &base, const std::vector<FPOINT> &points,
                                AgeMethod method);

// A number as the calculator writes it: "." and 17 significant digits.
void appendNumber(std::string &out, double value);
