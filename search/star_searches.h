#pragma once

#include "search/search_context.h"

#include <array>
#include <span>

namespace ohmtrim {

// The two operating cases of a star circuit and the range of branch 1. The
// three branches meet at the star point (U0); the far end of branch m sits
// at Um. Only voltage differences enter, so any unit will do.
struct StarInput {
    double U0Case1 = 0;
    double U1Case1 = 0;
    double U2Case1 = 0;
    double U3Case1 = 0;
    double U0Case2 = 0;
    double U1Case2 = 0;
    double U2Case2 = 0;
    double U3Case2 = 0;
    double RMin = 0; // lowest allowed resistance of branch 1, ohms
    double RMax = 0; // highest allowed resistance of branch 1, ohms
};

// Star-circuit searches. Each chooses one value per resistor so that the
// branch ratios B2 / B1 and B3 / B1 come as close as the tables allow to
// the ratios the two cases ask for, with B1 in RMin..RMax (both inclusive).
// A branch is one resistor, a series pair (a+b) or a parallel pair (a//b).
// Tables and outputs come in resistor order; a pair's output takes the value
// of its first table first. ctx gives the relative tolerance and the Escape
// poll.
//
// Status 0 writes the chosen values; 2 after a scan that found nothing in
// range writes 0.0 to every output; 1, 3 and 2 for voltages that admit no
// star of positive resistances write nothing.

// R1 / R2 / R3.
SearchStatus FindStarSingles(const StarInput& in, const double* t1, int n1, const double* t2,
                             int n2, const double* t3, int n3, double& out1, double& out2,
                             double& out3, const SearchContext& ctx);
// R1+R2 / R3 / R4.
SearchStatus FindStarSeriesFirst(const StarInput& in, const double* t1, int n1, const double* t2,
                                 int n2, const double* t3, int n3, const double* t4, int n4,
                                 double& out1, double& out2, double& out3, double& out4,
                                 const SearchContext& ctx);
// R1//R2 / R3 / R4.
SearchStatus FindStarParallelFirst(const StarInput& in, const double* t1, int n1, const double* t2,
                                   int n2, const double* t3, int n3, const double* t4, int n4,
                                   double& out1, double& out2, double& out3, double& out4,
                                   const SearchContext& ctx);
// R1 / R2//R3 / R4//R5.
SearchStatus FindStarParallelPairs(const StarInput& in, const double* t1, int n1, const double* t2,
                                   int n2, const double* t3, int n3, const double* t4, int n4,
                                   const double* t5, int n5, double& out1, double& out2,
                                   double& out3, double& out4, double& out5,
                                   const SearchContext& ctx);
// R1 / R2+R3 / R4//R5.
SearchStatus FindStarSeriesParallelPairs(const StarInput& in, const double* t1, int n1,
                                         const double* t2, int n2, const double* t3, int n3,
                                         const double* t4, int n4, const double* t5, int n5,
                                         double& out1, double& out2, double& out3, double& out4,
                                         double& out5, const SearchContext& ctx);
// R1 / R2+R3 / R4+R5.
SearchStatus FindStarSeriesPairs(const StarInput& in, const double* t1, int n1, const double* t2,
                                 int n2, const double* t3, int n3, const double* t4, int n4,
                                 const double* t5, int n5, double& out1, double& out2, double& out3,
                                 double& out4, double& out5, const SearchContext& ctx);
// R1//R2 / R3//R4 / R5//R6.
SearchStatus FindStarAllParallel(const StarInput& in, const double* t1, int n1, const double* t2,
                                 int n2, const double* t3, int n3, const double* t4, int n4,
                                 const double* t5, int n5, const double* t6, int n6, double& out1,
                                 double& out2, double& out3, double& out4, double& out5,
                                 double& out6, const SearchContext& ctx);

// The seven star circuits, named after their searches.
enum class StarCircuit {
    Singles,             // FindStarSingles: R1 / R2 / R3
    SeriesFirst,         // FindStarSeriesFirst: R1+R2 / R3 / R4
    ParallelFirst,       // FindStarParallelFirst: R1//R2 / R3 / R4
    ParallelPairs,       // FindStarParallelPairs: R1 / R2//R3 / R4//R5
    SeriesParallelPairs, // FindStarSeriesParallelPairs: R1 / R2+R3 / R4//R5
    SeriesPairs,         // FindStarSeriesPairs: R1 / R2+R3 / R4+R5
    AllParallel,         // FindStarAllParallel: R1//R2 / R3//R4 / R5//R6
};

// What one branch of a star circuit is made of.
enum class StarBranch {
    Single,   // one resistor
    Series,   // two resistors in series, a+b
    Parallel, // two resistors in parallel, a//b
};

// Branches 1, 2 and 3 of a star circuit (of the first for an unknown value).
const std::array<StarBranch, 3>& StarBranches(StarCircuit circuit);

// Number of resistors of a star circuit, 3 to 6: one per single branch,
// two per pair.
int StarResistorCount(StarCircuit circuit);

// One value table: ascending values and their count.
struct StarTable {
    const double* values = nullptr;
    int count = 0;
};

// Runs the search of a circuit with one table and one output per resistor,
// in resistor order. Status 1 without writing anything when fewer tables or
// outputs than resistors are given, or an empty table.
SearchStatus FindStar(StarCircuit circuit, const StarInput& in, std::span<const StarTable> tables,
                      std::span<double> out, const SearchContext& ctx);

} // namespace ohmtrim
