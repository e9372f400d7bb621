// An independent solution of the grain's diffusion problem, to check the
// precise method's truths: finite differences in radius, TR-BDF2 in time (an
// L-stable second-order scheme, so hot stretches do not ring), the temperature
// linear in time between the history's points. It shares no code with the
// program: no coefficients, no kept fraction, no series.
//
//   continuous-check R b a S EA D0 CELLS STEPS_PER_UNIT < history
//
// history: lines "time,temperature" (°C). Writes "time,calculated_time" at
// every history point. u = r c obeys u_t = D(t) u_rr + r s(r) with u(0) =
// u(R) = 0, where s is the production that lands at radius r: the fraction of
// the emission sphere around r that lies in the zone [a, b].
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
    if (S == 0)
        return r < rho ? 1.0 : 0.0;
    if (r + S <= rho)
        return 1.0;
    if (std::fabs(r - S) >= rho)
        return 0.0;
    return (rho * rho - (r - S) * (r - S)) / (4 * r * S);
}

// Solves (1 + alpha) on the diagonal, -alpha/2 beside it: I - k D L with the
// second-difference operator L, in place (Thomas algorithm).
void solve(double diag, double off, std::vector<double> &x, std::vector<double> &work) {
    const std::size_t n = x.size();
    work[0] = off / diag;
    x[0] /= diag;
    for (std::size_t i = 1; i < n; ++i) {
        const double m = diag - off * work[i - 1];
        work[i] = off / m;
        x[i] = (x[i] - off * x[i - 1]) / m;
    }
    for (std::size_t i = n - 1; i-- > 0;)
        x[i] -= work[i] * x[i + 1];
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 9) {
        std::cerr << "usage: continuous-check R b a S EA D0 CELLS STEPS_PER_UNIT < history\n";
        return 2;
    }
    const double R = std::atof(argv[1]), b = std::atof(argv[2]), a = std::atof(argv[3]);
    const double S = std::atof(argv[4]), Ea = std::atof(argv[5]), D0 = std::atof(argv[6]);
    const int cells = std::atoi(argv[7]);
    const double stepsPerUnit = std::atof(argv[8]);
    std::vector<double> times, temps;
    std::string line;
    while (std::getline(std::cin, line)) {
        double t, T;
        if (std::sscanf(line.c_str(), "%lf,%lf", &t, &T) == 2) {
            times.push_back(t);
            temps.push_back(T);
        }
    }
    auto D = [&](double T) { return D0 * 3.1536e21 * std::exp(-Ea / (1.9859 * (T + 273.15))); };

    const double dr = R / cells;
    const std::size_t n = static_cast<std::size_t>(cells) - 1; // interior nodes
    std::vector<double> f(n), u(n, 0.0), rhs(n), ug(n), work(n), Lu(n);
    for (std::size_t i = 0; i < n; ++i) { // cell average of r s(r)
        const double r0 = (double(i) + 0.5) * dr;
        const int sub = 64;
        double sum = 0;
        for (int q = 0; q < sub; ++q) {
            const double r = r0 + (q + 0.5) * dr / sub;
            sum += r * (insideBall(r, S, b) - insideBall(r, S, a));
        }
        f[i] = sum / sub;
    }
    auto laplace = [&](const std::vector<double> &v, std::vector<double> &out) {
        for (std::size_t i = 0; i < n; ++i)
            out[i] = ((i ? v[i - 1] : 0.0) - 2 * v[i] + (i + 1 < n ? v[i + 1] : 0.0)) / (dr * dr);
    };
    const double g = 2 - std::sqrt(2.0), w = (1 - g) / (2 - g);
    auto report = [&](double t) {
        double amount = 0;
        for (std::size_t i = 0; i < n; ++i)
            amount += (double(i) + 1) * dr * u[i] * dr;
        std::printf("%.17g,%.17g\n", t, 3 * amount / (b * b * b - a * a * a));
    };
    std::printf("time,calculated_time\n");
    if (!times.empty())
        report(times[0]);
    for (std::size_t k = 1; k < times.size(); ++k) {
        const double t0 = times[k - 1], h = times[k] - t0;
        const int steps = std::max(1, int(std::ceil(h * stepsPerUnit)));
        const double dt = h / steps;
        auto T = [&](double t) { return temps[k - 1] + (temps[k] - temps[k - 1]) * (t - t0) / h; };
        for (int s = 0; s < steps && h > 0; ++s) {
            const double tn = t0 + s * dt;
            const double Dn = D(T(tn)), Dg = D(T(tn + g * dt)), D1 = D(T(tn + dt));
            // Trapezoidal stage to tn + g dt.
            laplace(u, Lu);
            for (std::size_t i = 0; i < n; ++i)
                ug[i] = u[i] + g * dt / 2 * Dn * Lu[i] + g * dt * f[i];
            double k1 = g * dt / 2 * Dg / (dr * dr);
            solve(1 + 2 * k1, -k1, ug, work);
            // BDF2 stage to tn + dt.
            for (std::size_t i = 0; i < n; ++i)
                rhs[i] = ug[i] / (g * (2 - g)) - (1 - g) * (1 - g) / (g * (2 - g)) * u[i] +
                         w * dt * f[i];
            const double k2 = w * dt * D1 / (dr * dr);
            solve(1 + 2 * k2, -k2, rhs, work);
            u.swap(rhs);
        }
        report(times[k]);
    }
    return 0;
}
