#include "search/node_dividers.h"

#include "search/node_divider_scan.h"

// Chains whose sections hold parallel or series groups. Each search scans
// one section itself (a single resistor upwards, or the pairs of a parallel
// section downwards) and builds the others with a lookup or an inner
// search; they are written out in search/node_divider_scan.h, shared with
// their fast versions.

namespace ohmtrim {

SearchStatus FindNodeDivider4Both(const NodeVoltageInput& in, const double* t1, int n1,
                                  const double* t2, int n2, const double* t3, int n3,
                                  const double* t4, int n4, double& out1, double& out2,
                                  double& out3, double& out4, const SearchContext& ctx) {
    detail::PlainEngine engine(ctx);
    return detail::NodeDivider4Both(engine, in, t1, n1, t2, n2, t3, n3, t4, n4,
                                    {&out1, &out2, &out3, &out4});
}

SearchStatus FindNodeDivider4U3(const NodeVoltageInput& in, const double* t1, int n1,
                                const double* t2, int n2, const double* t3, int n3,
                                const double* t4, int n4, double& out1, double& out2, double& out3,
                                double& out4, const SearchContext& ctx) {
    detail::PlainEngine engine(ctx);
    return detail::NodeDivider4U3(engine, in, t1, n1, t2, n2, t3, n3, t4, n4,
                                  {&out1, &out2, &out3, &out4});
}

SearchStatus FindNodeDivider4U2(const NodeVoltageInput& in, const double* t1, int n1,
                                const double* t2, int n2, const double* t3, int n3,
                                const double* t4, int n4, double& out1, double& out2, double& out3,
                                double& out4, const SearchContext& ctx) {
    detail::PlainEngine engine(ctx);
    return detail::NodeDivider4U2(engine, in, t1, n1, t2, n2, t3, n3, t4, n4,
                                  {&out1, &out2, &out3, &out4});
}

SearchStatus FindNodeDivider5(const NodeVoltageInput& in, const double* t1, int n1,
                              const double* t2, int n2, const double* t3, int n3, const double* t4,
                              int n4, const double* t5, int n5, double& out1, double& out2,
                              double& out3, double& out4, double& out5, const SearchContext& ctx) {
    detail::PlainEngine engine(ctx);
    return detail::NodeDivider5(engine, in, t1, n1, t2, n2, t3, n3, t4, n4, t5, n5,
                                {&out1, &out2, &out3, &out4, &out5});
}

SearchStatus FindNodeDivider6(const NodeVoltageInput& in, const double* t1, int n1,
                              const double* t2, int n2, const double* t3, int n3, const double* t4,
                              int n4, const double* t5, int n5, const double* t6, int n6,
                              double& out1, double& out2, double& out3, double& out4, double& out5,
                              double& out6, const SearchContext& ctx) {
    detail::PlainEngine engine(ctx);
    return detail::NodeDivider6(engine, in, t1, n1, t2, n2, t3, n3, t4, n4, t5, n5, t6, n6,
                                {&out1, &out2, &out3, &out4, &out5, &out6});
}

} // namespace ohmtrim
