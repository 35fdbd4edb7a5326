#pragma once

#include "search/star_searches.h"

#include <span>

namespace ohmtrim {

// What the star-point voltage needs of a network: the three branch
// resistances and the three pairs of branches in parallel.
struct StarNetwork {
    double b1 = 0;
    double b2 = 0;
    double b3 = 0;
    double b2b3 = 0; // B2 // B3
    double b1b3 = 0; // B1 // B3
    double b1b2 = 0; // B1 // B2
};

// The network the chosen values R1, R2, ... make. A branch is the value,
// the sum a+b or a*b/(a+b) of its resistors, and x // y = x*y/(x+y); in the
// all-parallel circuit the pairs of branches are instead the reciprocals of
// their summed conductances (B2 // B3 = 1/(1/R3 + 1/R4 + 1/R5 + 1/R6)).
// Every member is NaN when values holds fewer than StarResistorCount values.
StarNetwork StarNetworkOf(StarCircuit circuit, std::span<const double> values);

// The star-point voltage of a network whose branches end at u1, u2 and u3:
// the mean of the three voltages weighted by the branch conductances.
double StarPointVoltage(const StarNetwork& net, double u1, double u2, double u3);

} // namespace ohmtrim
