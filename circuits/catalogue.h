#pragma once

#include <array>
#include <string_view>

namespace ohmtrim {

// The calculator family of a catalogue entry: what it reads, how it solves
// and what it shows, described once per family in circuits/family.h.
enum class Family {
    ColourCode,   // colour bands or a resistance with tolerance (no search)
    NearestValue, // one resistance, looked up in one value set
    Resistance,   // one wanted resistance out of two or three values
    Divider,      // U1, U2, U3 and a range of total resistance
    NodeChain,    // node voltages and a range, from the input dialog
    Star,         // two operating cases of a star circuit, from the input dialog
};

// The search (or lookup) a catalogue entry runs; its family's solve function
// knows which search that is.
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
    NodeDivider3,
    NodeDivider4,
    NodeDivider5,
    NodeDivider6,
    Star,
    // The other star circuits; Star above is the one of single resistors.
    StarSeriesFirst,
    StarParallelFirst,
    StarParallelPairs,
    StarSeriesParallelPairs,
    StarSeriesPairs,
    StarAllParallel,
};

struct CatalogueEntry {
    int index;
    std::string_view circuit; // what the drawing shows ("two resistors in series, R1+R2")
    std::string_view caption; // caption of the window it opens
    std::string_view window;  // class of that window ("TForm3")
    int variant;              // circuit variant stored in the window (1..3), 0 when none
    int resistors;            // number of resistors (value sets chosen)
    Family family;
    SolverId solver;
};

inline constexpr int kCatalogueSize = 24;

const std::array<CatalogueEntry, kCatalogueSize>& Catalogue();
// Entry by index; index must lie in 0..23.
const CatalogueEntry& CatalogueAt(int index);

} // namespace ohmtrim
