#include "circuits/alternatives.h"

#include "circuits/solve_parts.h"
#include "search/pair_table.h"
#include "search/pair_table_cache.h"
#include "valuesets/number.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <memory>
#include <queue>
#include <set>
#include <utility>

// Every combination's resistance is f(x, w): x the value of a pair of two
// of the resistors, w the third resistor (none for a pair), and f monotone
// in x. The pair values come sorted from a pair table, so for each w the
// combinations closest to the target lie on both sides of the place where
// f crosses it, and their errors grow outwards. A walk that always takes
// the smallest error among all those fronts meets the combinations in the
// order of their errors and stops once it has enough.
//
// x and f are written exactly as the calculators' formulas evaluate them,
// so the error that orders the walk is the error the calculator shows:
// R1 + R2 + R3 is (R1 + R2) + R3, and 1/(1/R1 + 1/R2 + 1/R3) takes the pair
// 1/R1 + 1/R2 from a table of the sums of reciprocals.

namespace ohmtrim {

namespace {

using Values = std::array<double, 3>;

struct Layout {
    SolverId solver;
    PairOp op;
    int first;       // the resistors of the pair: first from the table's A side,
    int second;      // second from its B side
    int single;      // the third resistor; -1 for a pair
    bool reciprocal; // the pair is of 1/R, not of R
    bool increasing; // f grows with x
    double (*f)(double x, double w);
    unsigned kind; // bit k: resistor k is one of the interchangeable ones
};

// clang-format off
constexpr Layout kLayouts[] = {
    {SolverId::ParallelPair,   PairOp::Parallel, 0, 1, -1, false, true,
     [](double x, double) { return x; }, 0b011},
    {SolverId::SeriesPair,     PairOp::Series,   0, 1, -1, false, true,
     [](double x, double) { return x; }, 0b011},
    {SolverId::ParallelTriple, PairOp::Series,   0, 1, 2,  true,  false,
     [](double x, double w) { return 1 / (x + 1 / w); }, 0b111},
    {SolverId::SeriesTriple,   PairOp::Series,   0, 1, 2,  false, true,
     [](double x, double w) { return x + w; }, 0b111},
    {SolverId::ParallelSeries, PairOp::Series,   1, 2, 0,  false, true,
     [](double x, double w) { return 1 / (1 / x + 1 / w); }, 0b110},
    {SolverId::SeriesParallel, PairOp::Parallel, 1, 2, 0,  false, true,
     [](double x, double w) { return w + x; }, 0b110},
};
// clang-format on

const Layout* LayoutOf(const CatalogueEntry& entry) {
    return detail::CircuitOf<Layout>(kLayouts, entry.solver);
}

bool SameTable(const ValueTable& a, const ValueTable& b) {
    return a.values == b.values && a.count == b.count;
}

// The value tables in ascending order, one array per distinct table, so
// that resistors on the same table share it (and a pair table of one table
// with itself holds each pair once). Alternatives are lists of values: the
// order of a table does not matter to them, and a table that is not in
// order (no value set is out of order) is sorted into a copy.
class Prepared {
public:
    bool Prepare(std::span<const ValueTable> tables) {
        for (std::size_t k = 0; k < tables.size(); ++k) {
            const ValueTable& t = tables[k];
            if (t.values == nullptr || t.count < 1)
                return false;
            std::size_t same = k;
            for (std::size_t j = k; j-- > 0;)
                if (SameTable(tables[j], t))
                    same = j;
            if (same < k) {
                m_views[k] = m_views[same];
                continue;
            }
            const std::span<const double> v(t.values, static_cast<std::size_t>(t.count));
            // Outside this range the pair values could overflow or lose
            // their order; no value set holds such values.
            for (const double x : v)
                if (!(x >= fast::kSmallestFastValue && x <= fast::kLargestFastValue))
                    return false;
            m_views[k] = v;
            if (!std::is_sorted(v.begin(), v.end())) {
                m_copies[k].assign(v.begin(), v.end());
                std::sort(m_copies[k].begin(), m_copies[k].end());
                m_views[k] = m_copies[k];
            }
        }
        return true;
    }
    std::span<const double> Table(int k) const { return m_views[static_cast<std::size_t>(k)]; }

private:
    std::array<std::vector<double>, 3> m_copies;
    std::array<std::span<const double>, 3> m_views;
};

// 1/v of an ascending table, ascending: reversed.
std::vector<double> Reciprocals(std::span<const double> v) {
    std::vector<double> r(v.size());
    for (std::size_t i = 0; i < v.size(); ++i)
        r[v.size() - 1 - i] = 1 / v[i];
    return r;
}

struct Candidate {
    double key; // |error in percent|
    Values values;
};

bool Before(const Candidate& a, const Candidate& b) {
    if (a.key != b.key)
        return a.key < b.key;
    return a.values < b.values;
}

// One front of the walk: pair entry k with third value w, moving up or down.
struct Front {
    double key;
    std::size_t k;
    int w;
    bool up;
};

struct LaterFront {
    bool operator()(const Front& a, const Front& b) const { return a.key > b.key; }
};

class Walk {
public:
    Walk(const Layout& layout, const PairTable& pairs, std::span<const double> a,
         std::span<const double> b, std::span<const double> single, double target)
        : m_layout(layout), m_pairs(pairs), m_a(a), m_b(b), m_single(single), m_target(target) {}

    // The candidates in the order of their keys, at least until count
    // classes have been seen and every candidate with the key of the last
    // one has been taken.
    std::vector<Candidate> Collect(int count, std::span<const ValueTable> tables) {
        const int singles = m_layout.single < 0 ? 1 : static_cast<int>(m_single.size());
        for (int w = 0; w < singles; ++w)
            Start(w);
        std::vector<Candidate> taken;
        std::set<Values> classes;
        double last = 0;
        while (!m_fronts.empty()) {
            const Front front = m_fronts.top();
            if (static_cast<int>(classes.size()) >= count && front.key > last)
                break;
            m_fronts.pop();
            const Candidate c{front.key, ValuesOf(front.k, front.w)};
            taken.push_back(c);
            classes.insert(ClassOf(c.values, tables));
            last = front.key;
            if (front.up && front.k + 1 < m_pairs.Size())
                Push(front.k + 1, front.w, true);
            else if (!front.up && front.k > 0)
                Push(front.k - 1, front.w, false);
        }
        return taken;
    }

    // The representative values of a combination's class: the values of
    // interchangeable resistors on the same table in ascending order.
    Values ClassOf(Values v, std::span<const ValueTable> tables) const {
        const auto swappable = [&](int i, int j) {
            return (m_layout.kind >> i & 1U) != 0 && (m_layout.kind >> j & 1U) != 0 &&
                   static_cast<std::size_t>(j) < tables.size() &&
                   SameTable(tables[static_cast<std::size_t>(i)],
                             tables[static_cast<std::size_t>(j)]);
        };
        // A sorting network of three, each exchange only where allowed.
        for (const auto& [i, j] : {std::pair{0, 1}, std::pair{0, 2}, std::pair{1, 2}})
            if (swappable(i, j) && v[static_cast<std::size_t>(j)] < v[static_cast<std::size_t>(i)])
                std::swap(v[static_cast<std::size_t>(i)], v[static_cast<std::size_t>(j)]);
        return v;
    }

private:
    double WValue(int w) const {
        return m_layout.single < 0 ? 0.0 : m_single[static_cast<std::size_t>(w)];
    }
    double Key(std::size_t k, int w) const {
        return std::fabs(ErrorPercent(m_layout.f(m_pairs.Value(k), WValue(w)), m_target));
    }
    void Push(std::size_t k, int w, bool up) { m_fronts.push({Key(k, w), k, w, up}); }

    // The first pair entry on the far side of the target (f at or above it
    // where f grows, at or below where it falls); the walk goes up from
    // there and down from the entry before it.
    void Start(int w) {
        const double wv = WValue(w);
        std::size_t lo = 0;
        std::size_t hi = m_pairs.Size();
        while (lo < hi) {
            const std::size_t mid = lo + (hi - lo) / 2;
            const double v = m_layout.f(m_pairs.Value(mid), wv);
            const bool past = m_layout.increasing ? v >= m_target : v <= m_target;
            if (past)
                hi = mid;
            else
                lo = mid + 1;
        }
        if (lo < m_pairs.Size())
            Push(lo, w, true);
        if (lo > 0)
            Push(lo - 1, w, false);
    }

    Values ValuesOf(std::size_t k, int w) const {
        const auto index = [&](int i, std::span<const double> t) {
            const auto u = static_cast<std::size_t>(i);
            return m_layout.reciprocal ? t.size() - 1 - u : u;
        };
        double x = m_a[index(m_pairs.Row(k), m_a)];
        double y = m_b[index(m_pairs.Column(k), m_b)];
        // An entry of a table of one array with itself stands for both
        // orders, which have the very same value; the one with the smaller
        // value first comes first.
        if (m_pairs.Symmetric() && y < x)
            std::swap(x, y);
        Values v{};
        v[static_cast<std::size_t>(m_layout.first)] = x;
        v[static_cast<std::size_t>(m_layout.second)] = y;
        if (m_layout.single >= 0)
            v[static_cast<std::size_t>(m_layout.single)] = WValue(w);
        return v;
    }

    const Layout& m_layout;
    const PairTable& m_pairs;
    std::span<const double> m_a;
    std::span<const double> m_b;
    std::span<const double> m_single;
    double m_target;
    std::priority_queue<Front, std::vector<Front>, LaterFront> m_fronts;
};

} // namespace

bool RanksAlternatives(const CatalogueEntry& entry) {
    return entry.family == Family::Resistance && LayoutOf(entry) != nullptr;
}

AlternativesStatus RankAlternatives(const CatalogueEntry& entry, const SolveInputs& in,
                                    std::span<const ValueTable> tables, int count,
                                    const SearchContext& ctx, std::vector<Alternative>& out) {
    out.clear();
    const Layout* layout = LayoutOf(entry);
    const auto* input = std::get_if<ResistanceInput>(&in);
    // The calculator's own refusal of a target comes first.
    if (!RanksAlternatives(entry) || input == nullptr || !IsResistanceInRange(input->target) ||
        count < 1 || count > kMaxAlternatives ||
        tables.size() != static_cast<std::size_t>(entry.resistors))
        return AlternativesStatus::InvalidInput;
    Prepared prepared;
    if (layout == nullptr || !prepared.Prepare(tables))
        return AlternativesStatus::InvalidInput;

    const std::span<const double> a = prepared.Table(layout->first);
    const std::span<const double> b = prepared.Table(layout->second);
    const bool oneTable = a.data() == b.data() && a.size() == b.size();
    std::vector<double> ra;
    std::vector<double> rb;
    std::span<const double> pa = a;
    std::span<const double> pb = b;
    if (layout->reciprocal) {
        ra = Reciprocals(a);
        pa = ra;
        if (!oneTable)
            rb = Reciprocals(b);
        pb = oneTable ? std::span<const double>(ra) : std::span<const double>(rb);
    }
    const int na = static_cast<int>(pa.size());
    const int nb = static_cast<int>(pb.size());
    std::shared_ptr<const PairTable> shared;
    std::unique_ptr<PairTable> own;
    PairTable::Outcome built = PairTable::Outcome::Built;
    // The program's cache knows a table by the addresses of its value
    // tables: only the value sets themselves qualify, no copy made here.
    const bool cacheable = ctx.tables != nullptr &&
                           pa.data() == tables[static_cast<std::size_t>(layout->first)].values &&
                           pb.data() == tables[static_cast<std::size_t>(layout->second)].values;
    if (cacheable && ctx.tables->Fits(pa.data(), na, pb.data(), nb))
        built = ctx.tables->Obtain(layout->op, pa.data(), na, pb.data(), nb, ctx, shared);
    else
        built = PairTable::Build(layout->op, pa.data(), na, pb.data(), nb, ctx, own);
    if (built == PairTable::Outcome::Aborted)
        return AlternativesStatus::Aborted;
    if (built != PairTable::Outcome::Built)
        return AlternativesStatus::TooLarge;
    const PairTable& pairs = shared ? *shared : *own;

    const std::span<const double> single =
        layout->single >= 0 ? prepared.Table(layout->single) : std::span<const double>{};
    Walk walk(*layout, pairs, a, b, single, input->target);
    std::vector<Candidate> taken = walk.Collect(count, tables);
    std::sort(taken.begin(), taken.end(), Before);
    std::set<Values> seen;
    for (const Candidate& c : taken) {
        if (static_cast<int>(out.size()) == count)
            break;
        if (!seen.insert(walk.ClassOf(c.values, tables)).second)
            continue;
        Alternative alt;
        alt.values.assign(c.values.begin(), c.values.begin() + entry.resistors);
        SolveOutcome derived;
        detail::DeriveResistance(entry, in, alt.values, derived);
        alt.resistance = derived.Result(ResultId::Resistance).value_or(0);
        alt.errorPercent = derived.Result(ResultId::ErrorPercent).value_or(0);
        out.push_back(std::move(alt));
    }
    return AlternativesStatus::Found;
}

} // namespace ohmtrim
