#pragma once

#include "search/search_context.h"

namespace ohmtrim {

// Voltage-divider searches. The divider runs from node U1 through the upper
// branch to the output node U2 and through the lower branch to the foot
// node U3; Rmin..Rmax bounds the total resistance (both inclusive). Tables
// come in resistor order. ctx gives the relative tolerance and the Escape
// poll.

// R1 above R2.
SearchStatus FindDividerPair(double u1, double u2, double u3, double rmin, double rmax,
                             const double* t1, int n1, const double* t2, int n2, double& out1,
                             double& out2, const SearchContext& ctx);

// R1 // R2 above R3.
SearchStatus FindDividerParallelPairTop(double u1, double u2, double u3, double rmin, double rmax,
                                        const double* t1, int n1, const double* t2, int n2,
                                        const double* t3, int n3, double& out1, double& out2,
                                        double& out3, const SearchContext& ctx);
// R1 // R2 // R3 above R4.
SearchStatus FindDividerParallelTripleTop(double u1, double u2, double u3, double rmin, double rmax,
                                          const double* t1, int n1, const double* t2, int n2,
                                          const double* t3, int n3, const double* t4, int n4,
                                          double& out1, double& out2, double& out3, double& out4,
                                          const SearchContext& ctx);
// R1 // (R2 + R3) above R4.
SearchStatus FindDividerParallelSeriesTop(double u1, double u2, double u3, double rmin, double rmax,
                                          const double* t1, int n1, const double* t2, int n2,
                                          const double* t3, int n3, const double* t4, int n4,
                                          double& out1, double& out2, double& out3, double& out4,
                                          const SearchContext& ctx);
// R1 // R2 above R3 // R4.
SearchStatus FindDividerParallelPairs(double u1, double u2, double u3, double rmin, double rmax,
                                      const double* t1, int n1, const double* t2, int n2,
                                      const double* t3, int n3, const double* t4, int n4,
                                      double& out1, double& out2, double& out3, double& out4,
                                      const SearchContext& ctx);

} // namespace ohmtrim
