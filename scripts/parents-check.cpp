// An independent solution of a grain's helium from its parents, for the
// truths of tests/calc/data/parents-*.csv: finite volumes in radius (shells of
// equal thickness, the surface held at 0 on its face, so that a cold grain
// keeps what lands in its outermost shell), TR-BDF2 in time (L-stable and
// second order), the temperature linear in time between the history's points.
// It shares no code with the program: no coefficients, no kept fraction, no
// series, no age equation.
//
//   parents-check R b a EA D0 U TH SM S238 S235 S232 S147 CELLS STEPS_PER_UNIT < history
//
// history: lines "time,temperature" (°C). Writes "time,temperature,he_nmol_g"
// at every history point. c obeys c_t = D(t) (r² c_r)_r / r² + s(r, t) with
// c(R) = 0, where s is the helium that lands at radius r: per parent, its
// production y lambda N(t) spread evenly over the zone [a, b] at the
// whole-grain rate times R³ / (b³ - a³), times the fraction of the sphere of
// its stopping distance around r that lies in the zone. N(t) = N(present)
// e^(lambda (t_last - t)).
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Fraction of a sphere of radius S centred at distance r from the origin that
// lies inside the ball of radius rho.
double insideBall(double r, double S, double rho) {
    if (r + S <= rho)
        return 1.0;
    if (std::fabs(r - S) >= rho)
        return 0.0;
    return (rho * rho - (r - S) * (r - S)) / (4 * r * S);
}

// Solves (I - alpha L) x = x in place, L tridiagonal with `lower`, `diag`
// and `upper` (Thomas algorithm).
void solve(double alpha, const std::vector<double> &lower, const std::vector<double> &diag,
           const std::vector<double> &upper, std::vector<double> &x, std::vector<double> &work) {
    const std::size_t n = x.size();
    double m = 1 - alpha * diag[0];
    work[0] = -alpha * upper[0] / m;
    x[0] /= m;
    for (std::size_t i = 1; i < n; ++i) {
        m = 1 - alpha * diag[i] + alpha * lower[i] * work[i - 1];
        work[i] = -alpha * upper[i] / m;
        x[i] = (x[i] + alpha * lower[i] * x[i - 1]) / m;
    }
    for (std::size_t i = n - 1; i-- > 0;)
        x[i] -= work[i] * x[i + 1];
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 15) {
        std::cerr << "usage: parents-check R b a EA D0 U TH SM S238 S235 S232 S147 CELLS "
                     "STEPS_PER_UNIT < history\n";
        return 2;
    }
    auto arg = [&](int i) { return std::atof(argv[i]); };
    const double R = arg(1), b = arg(2), a = arg(3), Ea = arg(4), D0 = arg(5);
    const double U = arg(6), Th = arg(7), Sm = arg(8);
    const double S[4] = {arg(9), arg(10), arg(11), arg(12)};
    const int cells = std::atoi(argv[13]);
    const double stepsPerUnit = arg(14);

    // Atoms at the present, nmol/g; decay per million years; helium per decay.
    const double uranium = U * 1e3 / 238.03;
    const double atoms[4] = {uranium * 137.818 / 138.818, uranium / 138.818, Th * 1e3 / 232.04,
                             Sm * 1e3 / 150.36 * 0.1499};
    const double decay[4] = {1.55125e-4, 9.8485e-4, 4.9475e-5, 6.54e-6};
    const double yield[4] = {8, 7, 6, 1};

    std::vector<double> times, temps;
    std::string line;
    while (std::getline(std::cin, line)) {
        double t, T;
        if (std::sscanf(line.c_str(), "%lf,%lf", &t, &T) == 2) {
            times.push_back(t);
            temps.push_back(T);
        }
    }
    if (times.empty())
        return 0;
    const double present = times.back();
    auto D = [&](double T) { return D0 * 3.1536e21 * std::exp(-Ea / (1.9859 * (T + 273.15))); };

    const double dr = R / cells;
    const std::size_t n = static_cast<std::size_t>(cells);
    const double zone = R * R * R / (b * b * b - a * a * a);
    // Shell i spans [i dr, (i + 1) dr]; its volume over 4 pi, and the
    // diffusion operator (without D) between neighbouring shells.
    std::vector<double> volume(n), lower(n, 0.0), diag(n, 0.0), upper(n, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        const double r0 = double(i) * dr, r1 = r0 + dr;
        volume[i] = (r1 * r1 * r1 - r0 * r0 * r0) / 3;
    }
    for (std::size_t i = 0; i < n; ++i) {
        const double r1 = double(i + 1) * dr;
        if (i + 1 < n) {
            const double flow = r1 * r1 / dr;
            diag[i] -= flow / volume[i];
            upper[i] = flow / volume[i];
            diag[i + 1] -= flow / volume[i + 1];
            lower[i + 1] = flow / volume[i + 1];
        } else {
            diag[i] -= R * R / (dr / 2) / volume[i]; // to 0 at the surface
        }
    }
    // Per parent the shell average of the landing fraction times the zone's
    // share of the production.
    std::vector<std::vector<double>> shape(4, std::vector<double>(n));
    for (int p = 0; p < 4; ++p)
        for (std::size_t i = 0; i < n; ++i) {
            const int sub = 64;
            double sum = 0;
            for (int q = 0; q < sub; ++q) {
                const double r = (double(i) + (q + 0.5) / sub) * dr;
                sum += r * r * (insideBall(r, S[p], b) - insideBall(r, S[p], a));
            }
            shape[p][i] = zone * sum * dr / sub / volume[i];
        }
    auto source = [&](double t, std::vector<double> &f) {
        double rate[4];
        for (int p = 0; p < 4; ++p)
            rate[p] = yield[p] * decay[p] * atoms[p] * std::exp(decay[p] * (present - t));
        for (std::size_t i = 0; i < n; ++i)
            f[i] = rate[0] * shape[0][i] + rate[1] * shape[1][i] + rate[2] * shape[2][i] +
                   rate[3] * shape[3][i];
    };

    std::vector<double> c(n, 0.0), rhs(n), cg(n), work(n), Lc(n), f0(n), fg(n), f1(n);
    auto apply = [&](const std::vector<double> &v, std::vector<double> &out) {
        for (std::size_t i = 0; i < n; ++i)
            out[i] = diag[i] * v[i] + (i ? lower[i] * v[i - 1] : 0.0) +
                     (i + 1 < n ? upper[i] * v[i + 1] : 0.0);
    };
    const double g = 2 - std::sqrt(2.0), w = (1 - g) / (2 - g);
    auto report = [&](std::size_t k) {
        double amount = 0;
        for (std::size_t i = 0; i < n; ++i)
            amount += volume[i] * c[i];
        std::printf("%.17g,%.17g,%.17g\n", times[k], temps[k], 3 * amount / (R * R * R));
    };
    std::printf("time,temperature,he_nmol_g\n");
    report(0);
    for (std::size_t k = 1; k < times.size(); ++k) {
        const double t0 = times[k - 1], h = times[k] - t0;
        const int steps = std::max(1, int(std::ceil(h * stepsPerUnit)));
        const double dt = h / steps;
        auto T = [&](double t) { return temps[k - 1] + (temps[k] - temps[k - 1]) * (t - t0) / h; };
        for (int s = 0; s < steps && h > 0; ++s) {
            const double tn = t0 + s * dt;
            const double Dn = D(T(tn)), Dg = D(T(tn + g * dt)), D1 = D(T(tn + dt));
            source(tn, f0);
            source(tn + g * dt, fg);
            source(tn + dt, f1);
            // Trapezoidal stage to tn + g dt.
            apply(c, Lc);
            for (std::size_t i = 0; i < n; ++i)
                cg[i] = c[i] + g * dt / 2 * (Dn * Lc[i] + f0[i] + fg[i]);
            solve(g * dt / 2 * Dg, lower, diag, upper, cg, work);
            // BDF2 stage to tn + dt.
            for (std::size_t i = 0; i < n; ++i)
                rhs[i] = cg[i] / (g * (2 - g)) - (1 - g) * (1 - g) / (g * (2 - g)) * c[i] +
                         w * dt * f1[i];
            solve(w * dt * D1, lower, diag, upper, rhs, work);
            c.swap(rhs);
        }
        report(k);
    }
    return 0;
}
