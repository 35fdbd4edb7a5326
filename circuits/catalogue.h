#pragma once

#include <array>
#include <string_view>

namespace ohmtrim {

// What the user types for a catalogue entry.
enum class InputKind {
    ColourCode,      // colour bands or a resistance with tolerance (no search)
    NearestValue,    // one resistance, looked up in one value set
    Resistance,      // one wanted resistance
    DividerVoltages, // U1, U2, U3, R min, R max
    NodeVoltages,    // node voltages and a range, from the input dialog
    StarCases,       // two operating cases of a star circuit, from the input dialog
};

// The search (or lookup) a catalogue entry runs.
enum class SolverId {
    None,
    Nearest,
    ParallelPair,
    SeriesPair,
    ParallelTriple,
    SeriesTriple,
    ParallelSeries,
    SeriesParallel,
    DividerPair,
    DividerParallelPairTop,
    DividerParallelTripleTop,
    DividerParallelSeriesTop,
    DividerParallelPairs,
    NodeDivider,
    Star,
};

struct CatalogueEntry {
    int index;
    std::string_view circuit; // what the drawing shows ("two resistors in series, R1+R2")
    std::string_view caption; // caption of the window it opens
    std::string_view window;  // class of that window ("TForm3")
    int variant;              // circuit variant stored in the window (1..3), 0 when none
    int resistors;            // number of resistors (value sets chosen)
    InputKind input;
    SolverId solver;
    std::string_view search; // name of the search routine, empty when there is none
};

inline constexpr int kCatalogueSize = 24;

const std::array<CatalogueEntry, kCatalogueSize>& Catalogue();
// Entry by index; index must lie in 0..23.
const CatalogueEntry& CatalogueAt(int index);

} // namespace ohmtrim
