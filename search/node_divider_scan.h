#pragma once

// What the node-voltage searches share: the wanted shares, the error of a
// chain with both inner nodes, the Escape poll, the record of the best chain
// and the two scans (one resistor, or the pairs of one parallel section).
// Only the search files include this.

#include "search/node_dividers.h"
#include "search/search_constants.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace ohmtrim::detail {

// Wanted shares of the total resistance T and ratios between sections.
struct NodeTargets {
    double f1; // section A / T
    double f2; // (B + C) / T, the position of U2
    double f3; // C / T, the position of U3
    double k2; // B / A
    double k3; // C / A
};

// The values of a node that was not given come out as nonsense here; the
// searches that do not use that node never read them.
inline NodeTargets WantedShares(const NodeVoltageInput& in) {
    return {(in.U1 - in.U2) / (in.U1 - in.U4), (in.U2 - in.U4) / (in.U1 - in.U4),
            (in.U3 - in.U4) / (in.U1 - in.U4), (in.U2 - in.U3) / (in.U1 - in.U2),
            (in.U3 - in.U4) / (in.U1 - in.U2)};
}

// Both inner nodes: the sum of the relative errors of the two node
// positions, for sections B and C of a chain with total t.
inline double TwoNodeError(const NodeTargets& w, double b, double c, double t) {
    return std::fabs((w.f2 - (b + c) / t) / w.f2) + std::fabs((w.f3 - c / t) / w.f3);
}

// Counts candidates and looks at Escape every kEscapePollStride of them. The
// three-resistor chains look before the 1st, 21st, 41st ... candidate; the
// chains with groups count first and look before the 20th, 40th ...
class EscapePoll {
public:
    enum class First { BeforeFirst, BeforeTwentieth };

    EscapePoll(const SearchContext& ctx, First first)
        : m_ctx(ctx), m_count(first == First::BeforeFirst ? -1 : 0) {}

    // Called once before each candidate; true when the search must end.
    bool Aborted() {
        ++m_count;
        return m_count % kEscapePollStride == 0 && m_ctx.EscapeDown();
    }

private:
    const SearchContext& m_ctx;
    std::int64_t m_count; // pair scans can exceed the range of int
};

// The best chain so far. Nothing is recorded until a candidate comes in,
// and the outputs then get 0.0 with the status NoSolution.
template <std::size_t N> class BestChain {
public:
    explicit BestChain(double stopBelow) : m_stopBelow(stopBelow) {}

    // A candidate whose total lies within the range. True when it is
    // accepted with an error small enough to end the search.
    bool Offer(double error, const std::array<double, N>& values) {
        if (!(error < m_bestError))
            return false; // a tie keeps the earlier chain; a NaN never wins
        m_values = values;
        m_status = SearchStatus::Found;
        if (error < m_stopBelow)
            return true;
        m_bestError = error;
        return false;
    }

    SearchStatus Write(const std::array<double*, N>& outs) const {
        for (std::size_t m = 0; m < N; ++m)
            *outs[m] = m_values[m];
        return m_status;
    }

private:
    double m_stopBelow;
    double m_bestError = 1e300;
    SearchStatus m_status = SearchStatus::NoSolution;
    std::array<double, N> m_values{};
};

// A candidate chain as the search completed it.
struct Chain {
    double total;
    double error;
};

inline constexpr double kNoValueLimit = std::numeric_limits<double>::infinity();

struct OneResistorScan {
    int start;               // first index of the scanned table
    double valueLimit;       // a scanned value above this ends the scan
    bool totalAboveRMaxEnds; // else such a candidate is only skipped
    double stopBelow;        // an accepted error below this ends the search
    EscapePoll::First firstPoll;
};

// Scans one resistor's table upwards from rule.start. complete(value, values)
// puts the value and the other resistors it calls for into values and
// returns the chain. A total below RMin is skipped.
template <std::size_t N, typename Complete>
SearchStatus ScanOneResistor(const NodeVoltageInput& in, const double* t, int n,
                             const OneResistorScan& rule, const SearchContext& ctx,
                             Complete complete, const std::array<double*, N>& outs) {
    EscapePoll poll(ctx, rule.firstPoll);
    BestChain<N> best(rule.stopBelow);
    std::array<double, N> values{};
    for (int i = rule.start; i < n; ++i) {
        if (poll.Aborted())
            return SearchStatus::Aborted;
        const double value = t[i];
        if (value > rule.valueLimit)
            break;
        const Chain chain = complete(value, values);
        if (chain.total < in.RMin)
            continue;
        if (chain.total > in.RMax) {
            if (rule.totalAboveRMaxEnds)
                break;
            continue;
        }
        if (best.Offer(chain.error, values))
            break;
    }
    return best.Write(outs);
}

// Scans the pairs of one parallel section x // y: x = tx[j] for j from the
// top of tx down to start, y = ty[i] for i from the top of ty down to j when
// both come from one table (each unordered pair once, y >= x) or down to 0.
// The section value p = x // y falls with y, so a p below pMin ends the row
// and one above pMax is skipped; both before the inner searches.
// complete(x, y, p, values) fills in values and returns the chain; totals
// outside RMin..RMax are skipped. The Escape poll counts pairs.
template <std::size_t N, typename Complete>
SearchStatus ScanParallelPairs(const NodeVoltageInput& in, const double* tx, int nx,
                               const double* ty, int ny, int start, double pMin, double pMax,
                               double stopBelow, const SearchContext& ctx, Complete complete,
                               const std::array<double*, N>& outs) {
    const bool sameTable = tx == ty && nx == ny;
    EscapePoll poll(ctx, EscapePoll::First::BeforeTwentieth);
    BestChain<N> best(stopBelow);
    std::array<double, N> values{};
    for (int j = nx - 1; j >= start; --j) {
        const int iLast = sameTable ? j : 0;
        for (int i = ny - 1; i >= iLast; --i) {
            if (poll.Aborted())
                return SearchStatus::Aborted;
            const double x = tx[j];
            const double y = ty[i];
            const double p = x * y / (x + y);
            if (p > pMax)
                continue;
            if (p < pMin)
                break;
            const Chain chain = complete(x, y, p, values);
            if (chain.total < in.RMin || chain.total > in.RMax)
                continue;
            if (best.Offer(chain.error, values))
                return best.Write(outs);
        }
    }
    return best.Write(outs);
}

} // namespace ohmtrim::detail
