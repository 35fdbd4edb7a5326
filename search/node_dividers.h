#pragma once

#include "search/search_context.h"

#include <cstdint>

namespace ohmtrim {

// Node-voltage dividers: a chain U1 -> section A -> U2 -> section B -> U3 ->
// section C -> U4. The user gives the end voltages, one or both inner node
// voltages and a range for the total resistance; the searches pick values
// that put the inner nodes where they are wanted. The voltages may fall or
// rise along the chain.

// The input the node-voltage windows, their dialog and the command line fill.
struct NodeVoltageInput {
    double U1 = 0.0;        // top node
    double U2 = 0.0;        // wanted upper inner node; 0.0 when not given
    double U3 = 0.0;        // wanted lower inner node; 0.0 when not given
    double U4 = 0.0;        // foot node
    std::uint8_t HasU2 = 0; // 1 when U2 was given
    std::uint8_t HasU3 = 0; // 1 when U3 was given
    double RMin = 0.0;      // smallest admissible total resistance, ohms
    double RMax = 0.0;      // largest admissible total resistance, ohms
};

// Every search takes the input, one value table (ascending, at least one
// entry) per resistor in resistor order and one output per resistor, and
// reads the relative tolerance and the Escape poll from ctx. It returns
//   Found        the outputs hold the chosen values;
//   InvalidInput the range or the voltages it uses are wrong; nothing written;
//   NoSolution   no candidate has a total within RMin..RMax; the outputs are
//                written as 0.0, except where no value of the scanned table
//                can reach RMin at all, which writes nothing;
//   Aborted      Escape was down at a poll; nothing written.
// Only the inner nodes a search names are looked at: a node that was not
// given may hold anything.

// R1 / R2 / R3, both inner nodes.
SearchStatus FindNodeDivider3Both(const NodeVoltageInput& in, const double* t1, int n1,
                                  const double* t2, int n2, const double* t3, int n3, double& out1,
                                  double& out2, double& out3, const SearchContext& ctx);
// R1 + R2 above U3, R3 below it; U3 only.
SearchStatus FindNodeDivider3U3(const NodeVoltageInput& in, const double* t1, int n1,
                                const double* t2, int n2, const double* t3, int n3, double& out1,
                                double& out2, double& out3, const SearchContext& ctx);
// R1 above U2, R2 + R3 below it; U2 only.
SearchStatus FindNodeDivider3U2(const NodeVoltageInput& in, const double* t1, int n1,
                                const double* t2, int n2, const double* t3, int n3, double& out1,
                                double& out2, double& out3, const SearchContext& ctx);

// R1 / R2 / R3 // R4, both inner nodes.
SearchStatus FindNodeDivider4Both(const NodeVoltageInput& in, const double* t1, int n1,
                                  const double* t2, int n2, const double* t3, int n3,
                                  const double* t4, int n4, double& out1, double& out2,
                                  double& out3, double& out4, const SearchContext& ctx);
// R1 + R2 above U3, R3 // R4 below it; U3 only.
SearchStatus FindNodeDivider4U3(const NodeVoltageInput& in, const double* t1, int n1,
                                const double* t2, int n2, const double* t3, int n3,
                                const double* t4, int n4, double& out1, double& out2, double& out3,
                                double& out4, const SearchContext& ctx);
// R1 above U2, R2 + R3 // R4 below it; U2 only.
SearchStatus FindNodeDivider4U2(const NodeVoltageInput& in, const double* t1, int n1,
                                const double* t2, int n2, const double* t3, int n3,
                                const double* t4, int n4, double& out1, double& out2, double& out3,
                                double& out4, const SearchContext& ctx);
// R1 / R2 // R3 / R4 // R5, both inner nodes.
SearchStatus FindNodeDivider5(const NodeVoltageInput& in, const double* t1, int n1,
                              const double* t2, int n2, const double* t3, int n3, const double* t4,
                              int n4, const double* t5, int n5, double& out1, double& out2,
                              double& out3, double& out4, double& out5, const SearchContext& ctx);
// R1 // R2 / R3 // R4 / R5 // R6, both inner nodes.
SearchStatus FindNodeDivider6(const NodeVoltageInput& in, const double* t1, int n1,
                              const double* t2, int n2, const double* t3, int n3, const double* t4,
                              int n4, const double* t5, int n5, const double* t6, int n6,
                              double& out1, double& out2, double& out3, double& out4, double& out5,
                              double& out6, const SearchContext& ctx);

// The inner node voltages a chain of section resistances a, b, c between
// u1 and u4 gives (what the results show next to the chosen values).
struct ChainNodeVoltages {
    double u2;
    double u3;
};
ChainNodeVoltages NodeVoltagesOfChain(double u1, double u4, double a, double b, double c);

namespace detail {

// Which inner nodes a search uses.
enum class InnerNodes { Both, U2Only, U3Only };

// The input test every node-voltage search starts with: the resistance
// range (1e-15 <= RMin < RMax <= 1e15), then the nodes in use strictly
// monotonic from U1 to U4 with a margin of 1e-15 between neighbours.
bool NodeInputValid(const NodeVoltageInput& in, InnerNodes nodes);

} // namespace detail

} // namespace ohmtrim
