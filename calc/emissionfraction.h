#pragma once

// The fraction of the emission zone's production that the emission leaves
// inside the grain: daughters are produced evenly in the shell a <= r <= b of
// a sphere of radius R and each lands at distance S from its parent, in an
// even direction. A parent at radius r keeps the fraction P(r) of the sphere of
// radius S around it that lies inside the grain: 1 when r + S <= R, otherwise
// (R² - (r - S)²) / (4 r S), and 0 once that is negative. The result is the
// mean of P over the zone's volume, in closed form; S = 0 keeps everything.
//
// The sum of all geometry coefficients is this fraction times the zone's share
// of the sphere's volume, (b³ - a³) / R³.
//
// Expects 0 <= a < b <= R and S >= 0, all finite; the caller checks them.
double keptFraction(double R, double b, double a, double S);
