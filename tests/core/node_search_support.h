#pragma once

// The node-voltage searches called by name on tables of the search tests,
// for the search tests and the tests of the node chains' solve function.

#include "search/node_dividers.h"
#include "tests/core/search_test_support.h"

#include <array>
#include <cstddef>
#include <vector>

namespace ohmtrim::testing {

using NodeOuts = std::array<double, 6>;
using NodeTables = std::vector<const Table*>;

enum class NodeSearch { Both3, U3_3, U2_3, Both4, U3_4, U2_4, Five, Six };

// Runs one search on the first tables of t (one per resistor) into o.
inline SearchStatus RunNodeSearch(NodeSearch s, const NodeVoltageInput& in, const NodeTables& t,
                                  NodeOuts& o, const SearchContext& ctx) {
    using S = NodeSearch;
    const double* p[6];
    int n[6];
    for (std::size_t m = 0; m < 6; ++m) {
        p[m] = m < t.size() ? t[m]->data() : nullptr;
        n[m] = m < t.size() ? static_cast<int>(t[m]->size()) : 0;
    }
    // clang-format off
    switch (s) {
    case S::Both3: return FindNodeDivider3Both(in, p[0], n[0], p[1], n[1], p[2], n[2], o[0], o[1], o[2], ctx);
    case S::U3_3: return FindNodeDivider3U3(in, p[0], n[0], p[1], n[1], p[2], n[2], o[0], o[1], o[2], ctx);
    case S::U2_3: return FindNodeDivider3U2(in, p[0], n[0], p[1], n[1], p[2], n[2], o[0], o[1], o[2], ctx);
    case S::Both4: return FindNodeDivider4Both(in, p[0], n[0], p[1], n[1], p[2], n[2], p[3], n[3], o[0], o[1], o[2], o[3], ctx);
    case S::U3_4: return FindNodeDivider4U3(in, p[0], n[0], p[1], n[1], p[2], n[2], p[3], n[3], o[0], o[1], o[2], o[3], ctx);
    case S::U2_4: return FindNodeDivider4U2(in, p[0], n[0], p[1], n[1], p[2], n[2], p[3], n[3], o[0], o[1], o[2], o[3], ctx);
    case S::Five: return FindNodeDivider5(in, p[0], n[0], p[1], n[1], p[2], n[2], p[3], n[3], p[4], n[4], o[0], o[1], o[2], o[3], o[4], ctx);
    case S::Six: return FindNodeDivider6(in, p[0], n[0], p[1], n[1], p[2], n[2], p[3], n[3], p[4], n[4], p[5], n[5], o[0], o[1], o[2], o[3], o[4], o[5], ctx);
    }
    // clang-format on
    return SearchStatus::InvalidInput;
}

} // namespace ohmtrim::testing
