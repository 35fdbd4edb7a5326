#include "search/star_searches.h"

#include "search/star_scan.h"

#include <array>
#include <cstddef>

namespace ohmtrim {

using detail::StarSearch;
using enum StarBranch;

// The searches themselves are in search/star_scan.h, shared with their
// fast versions.

SearchStatus FindStarSingles(const StarInput& in, const double* t1, int n1, const double* t2,
                             int n2, const double* t3, int n3, double& out1, double& out2,
                             double& out3, const SearchContext& ctx) {
    const StarTable tables[] = {{t1, n1}, {t2, n2}, {t3, n3}};
    detail::PlainEngine engine(ctx);
    return StarSearch<Single, Single, Single>(engine, in, tables, {&out1, &out2, &out3});
}

SearchStatus FindStarSeriesFirst(const StarInput& in, const double* t1, int n1, const double* t2,
                                 int n2, const double* t3, int n3, const double* t4, int n4,
                                 double& out1, double& out2, double& out3, double& out4,
                                 const SearchContext& ctx) {
    const StarTable tables[] = {{t1, n1}, {t2, n2}, {t3, n3}, {t4, n4}};
    detail::PlainEngine engine(ctx);
    return StarSearch<Series, Single, Single>(engine, in, tables, {&out1, &out2, &out3, &out4});
}

SearchStatus FindStarParallelFirst(const StarInput& in, const double* t1, int n1, const double* t2,
                                   int n2, const double* t3, int n3, const double* t4, int n4,
                                   double& out1, double& out2, double& out3, double& out4,
                                   const SearchContext& ctx) {
    const StarTable tables[] = {{t1, n1}, {t2, n2}, {t3, n3}, {t4, n4}};
    detail::PlainEngine engine(ctx);
    return StarSearch<Parallel, Single, Single>(engine, in, tables, {&out1, &out2, &out3, &out4});
}

SearchStatus FindStarParallelPairs(const StarInput& in, const double* t1, int n1, const double* t2,
                                   int n2, const double* t3, int n3, const double* t4, int n4,
                                   const double* t5, int n5, double& out1, double& out2,
                                   double& out3, double& out4, double& out5,
                                   const SearchContext& ctx) {
    const StarTable tables[] = {{t1, n1}, {t2, n2}, {t3, n3}, {t4, n4}, {t5, n5}};
    detail::PlainEngine engine(ctx);
    return StarSearch<Single, Parallel, Parallel>(engine, in, tables,
                                                  {&out1, &out2, &out3, &out4, &out5});
}

SearchStatus FindStarSeriesParallelPairs(const StarInput& in, const double* t1, int n1,
                                         const double* t2, int n2, const double* t3, int n3,
                                         const double* t4, int n4, const double* t5, int n5,
                                         double& out1, double& out2, double& out3, double& out4,
                                         double& out5, const SearchContext& ctx) {
    const StarTable tables[] = {{t1, n1}, {t2, n2}, {t3, n3}, {t4, n4}, {t5, n5}};
    detail::PlainEngine engine(ctx);
    return StarSearch<Single, Series, Parallel>(engine, in, tables,
                                                {&out1, &out2, &out3, &out4, &out5});
}

SearchStatus FindStarSeriesPairs(const StarInput& in, const double* t1, int n1, const double* t2,
                                 int n2, const double* t3, int n3, const double* t4, int n4,
                                 const double* t5, int n5, double& out1, double& out2, double& out3,
                                 double& out4, double& out5, const SearchContext& ctx) {
    const StarTable tables[] = {{t1, n1}, {t2, n2}, {t3, n3}, {t4, n4}, {t5, n5}};
    detail::PlainEngine engine(ctx);
    return StarSearch<Single, Series, Series>(engine, in, tables,
                                              {&out1, &out2, &out3, &out4, &out5});
}

SearchStatus FindStarAllParallel(const StarInput& in, const double* t1, int n1, const double* t2,
                                 int n2, const double* t3, int n3, const double* t4, int n4,
                                 const double* t5, int n5, const double* t6, int n6, double& out1,
                                 double& out2, double& out3, double& out4, double& out5,
                                 double& out6, const SearchContext& ctx) {
    const StarTable tables[] = {{t1, n1}, {t2, n2}, {t3, n3}, {t4, n4}, {t5, n5}, {t6, n6}};
    detail::PlainEngine engine(ctx);
    return StarSearch<Parallel, Parallel, Parallel>(engine, in, tables,
                                                    {&out1, &out2, &out3, &out4, &out5, &out6});
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
    detail::PlainEngine engine(ctx);
    return detail::RunStar(engine, circuit, in, tables, out);
}

} // namespace ohmtrim
