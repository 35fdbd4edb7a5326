#include "search/star_network.h"

#include <array>
#include <cstddef>
#include <limits>

namespace ohmtrim {

namespace {

double Parallel(double x, double y) {
    return x * y / (x + y);
}

} // namespace

StarNetwork StarNetworkOf(StarCircuit circuit, std::span<const double> r) {
    const int count = StarResistorCount(circuit);
    if (count == 0 || r.size() < static_cast<std::size_t>(count)) {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        return {nan, nan, nan, nan, nan, nan};
    }
    if (circuit == StarCircuit::AllParallel)
        return {Parallel(r[0], r[1]),
                Parallel(r[2], r[3]),
                Parallel(r[4], r[5]),
                1 / (1 / r[2] + 1 / r[3] + 1 / r[4] + 1 / r[5]),
                1 / (1 / r[0] + 1 / r[1] + 1 / r[4] + 1 / r[5]),
                1 / (1 / r[0] + 1 / r[1] + 1 / r[2] + 1 / r[3])};
    std::array<double, 3> b{};
    std::size_t next = 0;
    for (std::size_t m = 0; m < 3; ++m) {
        switch (StarBranches(circuit)[m]) {
        case StarBranch::Single:
            b[m] = r[next];
            next += 1;
            break;
        case StarBranch::Series:
            b[m] = r[next] + r[next + 1];
            next += 2;
            break;
        case StarBranch::Parallel:
            b[m] = Parallel(r[next], r[next + 1]);
            next += 2;
            break;
        }
    }
    return {b[0], b[1], b[2], Parallel(b[1], b[2]), Parallel(b[0], b[2]), Parallel(b[0], b[1])};
}

double StarPointVoltage(const StarNetwork& net, double u1, double u2, double u3) {
    return net.b2b3 * u1 / (net.b1 + net.b2b3) + net.b1b3 * u2 / (net.b2 + net.b1b3) +
           net.b1b2 * u3 / (net.b3 + net.b1b2);
}

} // namespace ohmtrim
