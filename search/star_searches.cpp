#include "search/star_searches.h"

#include "search/pair_searches.h"
#include "search/search_constants.h"
#include "valuesets/lookups.h"
#include "valuesets/number.h"

#include <array>
#include <cmath>
#include <cstddef>

namespace ohmtrim {

namespace {

// The determinants below are products of two voltage differences; under
// this the two cases are (nearly) proportional and fix no ratio.
constexpr double kSingularDeterminant = 1e-15;

// A candidate whose summed ratio error lies below this multiple of the
// relative tolerance ends the search.
constexpr double kStopFactor = 2;

// Is the branch-1 range usable? Written so that a NaN fails.
bool RangeValid(const StarInput& in) {
    return in.RMin >= kMinResistance && in.RMax <= kMaxResistance && in.RMin < in.RMax;
}

// A wanted ratio the scan can work with. A ratio of 0 (U2 = U0 in both
// cases, say) would make every candidate's error infinite or NaN, and an
// infinite or NaN one (voltages so large that their products overflow)
// likewise; no candidate could ever be chosen, so the scan is not run.
bool UsableRatio(double k) {
    return k > 0 && std::isfinite(k);
}

// The wanted B2 / B1 (k2) and B3 / B1 (k3): the solution of the current law
// at the star point, a1/B1 + a2/B2 + a3/B3 = 0 and b1/B1 + b2/B2 + b3/B3 = 0
// with am, bm the voltage across branch m in case 1 and 2. False when the
// cases admit no star of positive resistances.
bool WantedRatios(const StarInput& in, double& k2, double& k3) {
    const double a1 = in.U0Case1 - in.U1Case1;
    const double a2 = in.U0Case1 - in.U2Case1;
    const double a3 = in.U0Case1 - in.U3Case1;
    const double b1 = in.U0Case2 - in.U1Case2;
    const double b2 = in.U0Case2 - in.U2Case2;
    const double b3 = in.U0Case2 - in.U3Case2;
    const double d1 = a1 * b3 - b1 * a3;
    if (std::fabs(d1) < kSingularDeterminant)
        return false;
    k2 = (b2 * a3 - a2 * b3) / d1;
    if (!UsableRatio(k2))
        return false;
    const double d2 = a1 * b2 - b1 * a2;
    if (std::fabs(d2) < kSingularDeterminant)
        return false;
    k3 = (a2 * b3 - b2 * a3) / d2;
    return UsableRatio(k3);
}

// Counts the branch-1 candidates a scan visits, out-of-range ones included,
// and looks at the Escape key on every kEscapePollStride-th: either before
// visits 1, 21, 41 ... or after visits 20, 40, 60 ...
class EscapePoll {
public:
    EscapePoll(const SearchContext& ctx, bool beforeFirst)
        : m_ctx(ctx), m_left(beforeFirst ? 1 : kEscapePollStride) {}

    // Counts one visit; true when Escape is down at a poll.
    bool Visit() {
        if (--m_left > 0)
            return false;
        m_left = kEscapePollStride;
        return m_ctx.EscapeDown();
    }

private:
    const SearchContext& m_ctx;
    int m_left; // visits until the next poll; never more than the stride
};

constexpr bool kPollBeforeFirst = true;
constexpr bool kPollAfterTwentieth = false;

enum class ScanEnd { Finished, Aborted };

// ---- branch 1: the scans ---------------------------------------------------------
//
// Start(rmin) is false when no R1 reaches Rmin. Scan offers every candidate
// B1 in order: it writes the candidate's values to v and calls visit(B1),
// which returns true to end the search there.

// One resistor, upwards from the first value not below Rmin; the first
// value above Rmax ends the scan.
struct SingleScan {
    static constexpr std::size_t kResistors = 1;
    const double* t;
    int n;
    int start = -1;

    bool Start(double rmin) {
        start = CeilingIndex(rmin, t, n);
        return start != -1;
    }

    template <typename Visit>
    ScanEnd Scan(double, double rmax, EscapePoll& poll, double* v, Visit&& visit) const {
        for (int i = start; i < n; ++i) {
            if (poll.Visit())
                return ScanEnd::Aborted;
            if (t[i] > rmax)
                break;
            v[0] = t[i];
            if (visit(t[i]))
                break;
        }
        return ScanEnd::Finished;
    }
};

// R1 // R2, both downwards: larger values first. R1 below Rmin cannot give
// a pair that reaches it, and within a row P only falls, so the first P
// below Rmin ends the row. One table for both resistors tries each pair
// once (R2 at or above R1 by index), since a//b = b//a.
struct ParallelScan {
    static constexpr std::size_t kResistors = 2;
    const double* t1;
    int n1;
    const double* t2;
    int n2;
    int start = -1;

    bool Start(double rmin) {
        start = CeilingIndex(rmin, t1, n1);
        return start != -1;
    }

    template <typename Visit>
    ScanEnd Scan(double rmin, double rmax, EscapePoll& poll, double* v, Visit&& visit) const {
        const bool sameTable = t1 == t2 && n1 == n2;
        for (int i = n1 - 1; i >= start; --i) {
            const int jLast = sameTable ? i : 0;
            for (int j = n2 - 1; j >= jLast; --j) {
                if (poll.Visit())
                    return ScanEnd::Aborted;
                const double a = t1[i];
                const double b = t2[j];
                const double p = a * b / (a + b);
                if (p > rmax)
                    continue;
                if (p < rmin)
                    break;
                v[0] = a;
                v[1] = b;
                if (visit(p))
                    return ScanEnd::Finished;
            }
        }
        return ScanEnd::Finished;
    }
};

// The last index a series scan needs: the first value not below Rmax (a
// larger one only adds to a sum that is already too large), or the last.
int SeriesScanEnd(double rmax, const double* t, int n) {
    const int end = CeilingIndex(rmax, t, n);
    return end == -1 ? n - 1 : end;
}

// R1 + R2, both upwards over every ordered pair; within a row the sum only
// grows, so the first sum above Rmax ends the row.
struct SeriesScan {
    static constexpr std::size_t kResistors = 2;
    const double* t1;
    int n1;
    const double* t2;
    int n2;

    bool Start(double) { return true; } // a sum can reach any Rmin

    template <typename Visit>
    ScanEnd Scan(double rmin, double rmax, EscapePoll& poll, double* v, Visit&& visit) const {
        const int iEnd = SeriesScanEnd(rmax, t1, n1);
        const int jEnd = SeriesScanEnd(rmax, t2, n2);
        for (int i = 0; i <= iEnd; ++i) {
            for (int j = 0; j <= jEnd; ++j) {
                if (poll.Visit())
                    return ScanEnd::Aborted;
                const double s = t1[i] + t2[j];
                if (s < rmin)
                    continue;
                if (s > rmax)
                    break;
                v[0] = t1[i];
                v[1] = t2[j];
                if (visit(s))
                    return ScanEnd::Finished;
            }
        }
        return ScanEnd::Finished;
    }
};

// ---- branches 2 and 3 ------------------------------------------------------------
//
// Make(target, branch tolerance, v) writes the branch's values to v and
// returns the branch resistance they give.

struct SingleBranch {
    static constexpr std::size_t kResistors = 1;
    const double* t;
    int n;

    double Make(double target, double, double* v) const {
        v[0] = t[NearestIndex(target, t, n)];
        return v[0];
    }
};

struct SeriesBranch {
    static constexpr std::size_t kResistors = 2;
    const double* ta;
    int na;
    const double* tb;
    int nb;

    double Make(double target, double tol, double* v) const {
        FindSeriesPair(target, tol, ta, na, tb, nb, v[0], v[1]);
        return v[0] + v[1];
    }
};

struct ParallelBranch {
    static constexpr std::size_t kResistors = 2;
    const double* ta;
    int na;
    const double* tb;
    int nb;

    double Make(double target, double tol, double* v) const {
        FindParallelPair(target, tol, ta, na, tb, nb, v[0], v[1]);
        return v[0] * v[1] / (v[0] + v[1]);
    }
};

template <typename First, typename Second, typename Third>
using StarOutputs = std::array<double*, First::kResistors + Second::kResistors + Third::kResistors>;

// The common search: input checks, then every branch-1 candidate completed
// with the branches 2 and 3 its ratios ask for. The smallest summed ratio
// error wins (the earliest of equal ones), and the first candidate below
// the stop threshold ends the search. There is no seed: a scan that finds
// nothing in range leaves every output 0.0.
template <typename First, typename Second, typename Third>
SearchStatus SearchStar(const StarInput& in, First first, const Second& second, const Third& third,
                        bool pollBeforeFirst, const StarOutputs<First, Second, Third>& outs,
                        const SearchContext& ctx) {
    if (!RangeValid(in))
        return SearchStatus::InvalidInput;
    double k2 = 0;
    double k3 = 0;
    if (!WantedRatios(in, k2, k3))
        return SearchStatus::NoSolution;
    if (!first.Start(in.RMin))
        return SearchStatus::InvalidInput;

    constexpr std::size_t at2 = First::kResistors;
    constexpr std::size_t at3 = at2 + Second::kResistors;
    std::array<double, at3 + Third::kResistors> values{};
    std::array<double, at3 + Third::kResistors> recorded{};
    double bestError = 1e300;
    SearchStatus status = SearchStatus::NoSolution;
    const double stopBelow = kStopFactor * ctx.relTol;
    const double branchTol = kInnerToleranceFactor * ctx.relTol;

    const auto visit = [&](double b1) {
        const double b2 = second.Make(k2 * b1, branchTol, &values[at2]);
        const double b3 = third.Make(k3 * b1, branchTol, &values[at3]);
        const double e = std::fabs((b2 / b1 - k2) / k2) + std::fabs((b3 / b1 - k3) / k3);
        if (!(e < bestError))
            return false; // a tie keeps the earlier candidate
        recorded = values;
        status = SearchStatus::Found;
        if (e < stopBelow)
            return true;
        bestError = e;
        return false;
    };
    EscapePoll poll(ctx, pollBeforeFirst);
    if (first.Scan(in.RMin, in.RMax, poll, values.data(), visit) == ScanEnd::Aborted)
        return SearchStatus::Aborted;
    for (std::size_t m = 0; m < recorded.size(); ++m)
        *outs[m] = recorded[m];
    return status;
}

} // namespace

SearchStatus FindStarSingles(const StarInput& in, const double* t1, int n1, const double* t2,
                             int n2, const double* t3, int n3, double& out1, double& out2,
                             double& out3, const SearchContext& ctx) {
    return SearchStar(in, SingleScan{t1, n1}, SingleBranch{t2, n2}, SingleBranch{t3, n3},
                      kPollBeforeFirst, {&out1, &out2, &out3}, ctx);
}

SearchStatus FindStarSeriesFirst(const StarInput& in, const double* t1, int n1, const double* t2,
                                 int n2, const double* t3, int n3, const double* t4, int n4,
                                 double& out1, double& out2, double& out3, double& out4,
                                 const SearchContext& ctx) {
    return SearchStar(in, SeriesScan{t1, n1, t2, n2}, SingleBranch{t3, n3}, SingleBranch{t4, n4},
                      kPollAfterTwentieth, {&out1, &out2, &out3, &out4}, ctx);
}

SearchStatus FindStarParallelFirst(const StarInput& in, const double* t1, int n1, const double* t2,
                                   int n2, const double* t3, int n3, const double* t4, int n4,
                                   double& out1, double& out2, double& out3, double& out4,
                                   const SearchContext& ctx) {
    return SearchStar(in, ParallelScan{t1, n1, t2, n2}, SingleBranch{t3, n3}, SingleBranch{t4, n4},
                      kPollAfterTwentieth, {&out1, &out2, &out3, &out4}, ctx);
}

SearchStatus FindStarParallelPairs(const StarInput& in, const double* t1, int n1, const double* t2,
                                   int n2, const double* t3, int n3, const double* t4, int n4,
                                   const double* t5, int n5, double& out1, double& out2,
                                   double& out3, double& out4, double& out5,
                                   const SearchContext& ctx) {
    return SearchStar(in, SingleScan{t1, n1}, ParallelBranch{t2, n2, t3, n3},
                      ParallelBranch{t4, n4, t5, n5}, kPollAfterTwentieth,
                      {&out1, &out2, &out3, &out4, &out5}, ctx);
}

SearchStatus FindStarSeriesParallelPairs(const StarInput& in, const double* t1, int n1,
                                         const double* t2, int n2, const double* t3, int n3,
                                         const double* t4, int n4, const double* t5, int n5,
                                         double& out1, double& out2, double& out3, double& out4,
                                         double& out5, const SearchContext& ctx) {
    return SearchStar(in, SingleScan{t1, n1}, SeriesBranch{t2, n2, t3, n3},
                      ParallelBranch{t4, n4, t5, n5}, kPollAfterTwentieth,
                      {&out1, &out2, &out3, &out4, &out5}, ctx);
}

SearchStatus FindStarSeriesPairs(const StarInput& in, const double* t1, int n1, const double* t2,
                                 int n2, const double* t3, int n3, const double* t4, int n4,
                                 const double* t5, int n5, double& out1, double& out2, double& out3,
                                 double& out4, double& out5, const SearchContext& ctx) {
    return SearchStar(in, SingleScan{t1, n1}, SeriesBranch{t2, n2, t3, n3},
                      SeriesBranch{t4, n4, t5, n5}, kPollAfterTwentieth,
                      {&out1, &out2, &out3, &out4, &out5}, ctx);
}

SearchStatus FindStarAllParallel(const StarInput& in, const double* t1, int n1, const double* t2,
                                 int n2, const double* t3, int n3, const double* t4, int n4,
                                 const double* t5, int n5, const double* t6, int n6, double& out1,
                                 double& out2, double& out3, double& out4, double& out5,
                                 double& out6, const SearchContext& ctx) {
    return SearchStar(in, ParallelScan{t1, n1, t2, n2}, ParallelBranch{t3, n3, t4, n4},
                      ParallelBranch{t5, n5, t6, n6}, kPollAfterTwentieth,
                      {&out1, &out2, &out3, &out4, &out5, &out6}, ctx);
}

namespace {

// The branches of each circuit, in StarCircuit order.
constexpr std::array<std::array<StarBranch, 3>, 7> kBranches{{
    {StarBranch::Single, StarBranch::Single, StarBranch::Single},
    {StarBranch::Series, StarBranch::Single, StarBranch::Single},
    {StarBranch::Parallel, StarBranch::Single, StarBranch::Single},
    {StarBranch::Single, StarBranch::Parallel, StarBranch::Parallel},
    {StarBranch::Single, StarBranch::Series, StarBranch::Parallel},
    {StarBranch::Single, StarBranch::Series, StarBranch::Series},
    {StarBranch::Parallel, StarBranch::Parallel, StarBranch::Parallel},
}};

bool Known(StarCircuit circuit) {
    return static_cast<std::size_t>(circuit) < kBranches.size();
}

} // namespace

const std::array<StarBranch, 3>& StarBranches(StarCircuit circuit) {
    return kBranches[Known(circuit) ? static_cast<std::size_t>(circuit) : 0];
}

int StarResistorCount(StarCircuit circuit) {
    if (!Known(circuit))
        return 0;
    int count = 0;
    for (const StarBranch b : StarBranches(circuit))
        count += b == StarBranch::Single ? 1 : 2;
    return count;
}

SearchStatus FindStar(StarCircuit circuit, const StarInput& in, std::span<const StarTable> tables,
                      std::span<double> out, const SearchContext& ctx) {
    const auto n = static_cast<std::size_t>(StarResistorCount(circuit));
    if (n == 0 || tables.size() < n || out.size() < n)
        return SearchStatus::InvalidInput;
    for (std::size_t m = 0; m < n; ++m)
        if (tables[m].values == nullptr || tables[m].count < 1)
            return SearchStatus::InvalidInput; // the searches read a table's first value
    const auto v = [&](std::size_t m) { return tables[m].values; };
    const auto c = [&](std::size_t m) { return tables[m].count; };
    double* o = out.data();
    switch (circuit) {
    case StarCircuit::Singles:
        return FindStarSingles(in, v(0), c(0), v(1), c(1), v(2), c(2), o[0], o[1], o[2], ctx);
    case StarCircuit::SeriesFirst:
        return FindStarSeriesFirst(in, v(0), c(0), v(1), c(1), v(2), c(2), v(3), c(3), o[0], o[1],
                                   o[2], o[3], ctx);
    case StarCircuit::ParallelFirst:
        return FindStarParallelFirst(in, v(0), c(0), v(1), c(1), v(2), c(2), v(3), c(3), o[0], o[1],
                                     o[2], o[3], ctx);
    case StarCircuit::ParallelPairs:
        return FindStarParallelPairs(in, v(0), c(0), v(1), c(1), v(2), c(2), v(3), c(3), v(4), c(4),
                                     o[0], o[1], o[2], o[3], o[4], ctx);
    case StarCircuit::SeriesParallelPairs:
        return FindStarSeriesParallelPairs(in, v(0), c(0), v(1), c(1), v(2), c(2), v(3), c(3), v(4),
                                           c(4), o[0], o[1], o[2], o[3], o[4], ctx);
    case StarCircuit::SeriesPairs:
        return FindStarSeriesPairs(in, v(0), c(0), v(1), c(1), v(2), c(2), v(3), c(3), v(4), c(4),
                                   o[0], o[1], o[2], o[3], o[4], ctx);
    case StarCircuit::AllParallel:
        return FindStarAllParallel(in, v(0), c(0), v(1), c(1), v(2), c(2), v(3), c(3), v(4), c(4),
                                   v(5), c(5), o[0], o[1], o[2], o[3], o[4], o[5], ctx);
    }
    return SearchStatus::InvalidInput;
}

} // namespace ohmtrim
