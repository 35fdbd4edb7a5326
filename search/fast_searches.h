#pragma once

// The fast searches: the same searches as pair_searches.h,
// triple_searches.h, divider_searches.h, node_dividers.h and
// star_searches.h, returning bit for bit what those return (values, status
// and which outputs are written), only much sooner on large value sets.
//
// They read everything but the tables from the context: the relative
// tolerance, the Escape poll, the pair-table cache, the threads allowed and
// where to report progress. Without a cache (the default context) each runs
// its plain function. With one, a search scans plainly for a few
// microseconds first (most searches with a tolerance end there), then uses
// its pair table if the cache has it; otherwise it scans on plainly with a
// work budget of about one table build, and only when that runs out builds
// the table (kept in the cache) and finishes on the fast path from where it
// was; a search that certainly has that much plain work left (tolerance 0)
// builds at once. So no search is much slower than its plain function for
// want of a table. Tables outside the fast range (see TableSuitable) or too
// large for the cache are scanned plainly.
//
// The resistance searches return Found, or Aborted (outputs untouched) when
// Escape is down during a table build or, on tables the fast path does not
// take, between stretches of their plain scan. With its tables cached and
// one thread, a divider, node-voltage or star search polls Escape exactly
// where its plain function does; building a table or scanning plainly for
// want of one, it also polls between stretches of a few milliseconds. A
// search reports how far its outer scan has come (ctx.progress) and ends
// with 1 unless aborted.
//
// The enumerations of pairs (FindDividerParallelPairs, FindNodeDivider4U3,
// FindNodeDivider6 and the star searches whose first branch is a pair) use
// ctx.threads (1 or 2).

#include "search/node_dividers.h"
#include "search/search_context.h"
#include "search/star_searches.h"

#include <span>

namespace ohmtrim::fast {

SearchStatus FindSeriesPair(double target, const double* a, int na, const double* b, int nb,
                            double& outA, double& outB, const SearchContext& ctx);
SearchStatus FindParallelPair(double target, const double* a, int na, const double* b, int nb,
                              double& outA, double& outB, const SearchContext& ctx);

SearchStatus FindSeriesTriple(double target, const double* a, int na, const double* b, int nb,
                              const double* c, int nc, double& outA, double& outB, double& outC,
                              const SearchContext& ctx);
SearchStatus FindParallelTriple(double target, const double* a, int na, const double* b, int nb,
                                const double* c, int nc, double& outA, double& outB, double& outC,
                                const SearchContext& ctx);
SearchStatus FindParallelSeries(double target, const double* a, int na, const double* b, int nb,
                                const double* c, int nc, double& outA, double& outB, double& outC,
                                const SearchContext& ctx);
SearchStatus FindSeriesParallel(double target, const double* a, int na, const double* b, int nb,
                                const double* c, int nc, double& outA, double& outB, double& outC,
                                const SearchContext& ctx);

// The two-resistor divider is a single lookup per R1 already; it runs its
// plain function.
SearchStatus FindDividerPair(double u1, double u2, double u3, double rmin, double rmax,
                             const double* t1, int n1, const double* t2, int n2, double& out1,
                             double& out2, const SearchContext& ctx);
SearchStatus FindDividerParallelPairTop(double u1, double u2, double u3, double rmin, double rmax,
                                        const double* t1, int n1, const double* t2, int n2,
                                        const double* t3, int n3, double& out1, double& out2,
                                        double& out3, const SearchContext& ctx);
SearchStatus FindDividerParallelTripleTop(double u1, double u2, double u3, double rmin, double rmax,
                                          const double* t1, int n1, const double* t2, int n2,
                                          const double* t3, int n3, const double* t4, int n4,
                                          double& out1, double& out2, double& out3, double& out4,
                                          const SearchContext& ctx);
SearchStatus FindDividerParallelSeriesTop(double u1, double u2, double u3, double rmin, double rmax,
                                          const double* t1, int n1, const double* t2, int n2,
                                          const double* t3, int n3, const double* t4, int n4,
                                          double& out1, double& out2, double& out3, double& out4,
                                          const SearchContext& ctx);
SearchStatus FindDividerParallelPairs(double u1, double u2, double u3, double rmin, double rmax,
                                      const double* t1, int n1, const double* t2, int n2,
                                      const double* t3, int n3, const double* t4, int n4,
                                      double& out1, double& out2, double& out3, double& out4,
                                      const SearchContext& ctx);

SearchStatus FindNodeDivider3Both(const NodeVoltageInput& in, const double* t1, int n1,
                                  const double* t2, int n2, const double* t3, int n3, double& out1,
                                  double& out2, double& out3, const SearchContext& ctx);
SearchStatus FindNodeDivider3U3(const NodeVoltageInput& in, const double* t1, int n1,
                                const double* t2, int n2, const double* t3, int n3, double& out1,
                                double& out2, double& out3, const SearchContext& ctx);
SearchStatus FindNodeDivider3U2(const NodeVoltageInput& in, const double* t1, int n1,
                                const double* t2, int n2, const double* t3, int n3, double& out1,
                                double& out2, double& out3, const SearchContext& ctx);
SearchStatus FindNodeDivider4Both(const NodeVoltageInput& in, const double* t1, int n1,
                                  const double* t2, int n2, const double* t3, int n3,
                                  const double* t4, int n4, double& out1, double& out2,
                                  double& out3, double& out4, const SearchContext& ctx);
SearchStatus FindNodeDivider4U3(const NodeVoltageInput& in, const double* t1, int n1,
                                const double* t2, int n2, const double* t3, int n3,
                                const double* t4, int n4, double& out1, double& out2, double& out3,
                                double& out4, const SearchContext& ctx);
SearchStatus FindNodeDivider4U2(const NodeVoltageInput& in, const double* t1, int n1,
                                const double* t2, int n2, const double* t3, int n3,
                                const double* t4, int n4, double& out1, double& out2, double& out3,
                                double& out4, const SearchContext& ctx);
SearchStatus FindNodeDivider5(const NodeVoltageInput& in, const double* t1, int n1,
                              const double* t2, int n2, const double* t3, int n3, const double* t4,
                              int n4, const double* t5, int n5, double& out1, double& out2,
                              double& out3, double& out4, double& out5, const SearchContext& ctx);
SearchStatus FindNodeDivider6(const NodeVoltageInput& in, const double* t1, int n1,
                              const double* t2, int n2, const double* t3, int n3, const double* t4,
                              int n4, const double* t5, int n5, const double* t6, int n6,
                              double& out1, double& out2, double& out3, double& out4, double& out5,
                              double& out6, const SearchContext& ctx);

// The star searches, one per circuit, as FindStar runs them (tables and
// outputs in resistor order).
SearchStatus FindStar(StarCircuit circuit, const StarInput& in, std::span<const StarTable> tables,
                      std::span<double> out, const SearchContext& ctx);

} // namespace ohmtrim::fast
