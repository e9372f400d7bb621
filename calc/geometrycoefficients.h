#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

// The expansion coefficients of the grain geometry: coefficient k is the weight
// of the k-th eigenfunction of the sphere, sin(k*pi*r/R)/r, in the distribution
// of daughters that stay in the grain after emission.
//
// R: sphere radius, b and a: outer and inner radius of the emission zone,
// S: emission distance (all in the same length unit), N: number of coefficients.
// Returns max(N, 0) + 1 values; slot 0 is unused (0) and coefficient k is at
// slot k, so N <= 0 gives no coefficients. `progress`, when given, is called
// with k before coefficient k is computed. `stop`, when given, is checked once
// per coefficient; once it is set the calculation throws CalculationStopped.
//
// Throws tarvel::Error when the coefficients are undefined: R not greater than
// 0, a negative emission distance, a value that is not a finite number, or a
// coefficient that does not fit the single precision it is stored in.
std::vector<double> geometryCoefficients(double R, double b, double a, double S, std::int32_t N,
                                         const std::function<void(std::int32_t)> &progress = {},
                                         const std::atomic<bool> *stop = nullptr);

// The same coefficients for long series (thousands of terms), with the sines
// and cosines of each term's angles carried from the term before by the
// angle-addition formulas, each angle taken afresh every 256 terms: about
// twenty times faster, and equal to geometryCoefficients to about 1e-13 of
// the first coefficient. Expects the inputs geometryCoefficients accepts.
std::vector<double> recurrentGeometryCoefficients(double R, double b, double a, double S,
                                                  std::int32_t N);

// geometryCoefficients, to the bit, remembered for the last grains the
// calling thread asked for: a search computes the same grains under thousands
// of histories, and their coefficients depend on the grain alone. Throws as
// geometryCoefficients does.
std::vector<double> rememberedGeometryCoefficients(double R, double b, double a, double S,
                                                   std::int32_t N);
