#pragma once

// Inside view of the fast dividers, for their tests.

#include "search/search_context.h"

namespace ohmtrim::fast::detail {

// Below this many upper pairs a second thread does not pay for itself.
inline constexpr double kPairsForThreads = 50000;

// FindDividerParallelPairs, with more threads (ctx.threads) from
// pairsForThreads upper pairs on; tests pass 0 to run small tables in parts.
SearchStatus FindDividerParallelPairs(double u1, double u2, double u3, double rmin, double rmax,
                                      const double* t1, int n1, const double* t2, int n2,
                                      const double* t3, int n3, const double* t4, int n4,
                                      double& out1, double& out2, double& out3, double& out4,
                                      const SearchContext& ctx, double pairsForThreads);

} // namespace ohmtrim::fast::detail
