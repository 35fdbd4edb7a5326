#pragma once

// Internal to the resistance searches: the best combination found so far
// and the early exit of a scan.

#include <array>
#include <cstddef>

namespace ohmtrim::detail {

// The rules every resistance search keeps: the seed is the first best and is
// never tested against the early exit; a candidate only replaces the best
// when its error is strictly smaller, so among equal errors the first one
// scanned wins; a new best whose error is strictly below the threshold
// (relTol * target) ends the search. A NaN error never compares smaller, so
// such a candidate is simply never chosen.
template <std::size_t N> struct BestCandidate {
    std::array<double, N> values;
    double err;
    double threshold;

    // Offers a candidate with its error. True when it became the best and is
    // close enough to end the search at once.
    bool Offer(const std::array<double, N>& candidate, double candidateErr) {
        if (!(candidateErr < err))
            return false;
        values = candidate;
        err = candidateErr;
        return candidateErr < threshold;
    }
};

} // namespace ohmtrim::detail
