#include "circuits/catalogue.h"

namespace ohmtrim {

namespace {

using F = Family;
using S = SolverId;

constexpr std::array<CatalogueEntry, kCatalogueSize> kEntries{{
    {0, "resistor with colour bands", " Color code / value converter", "TForm23", 0, 0,
     F::ColourCode, S::None},
    {1, "single resistor R1", "  Single resistor", "TForm2", 0, 1, F::NearestValue, S::Nearest},
    {2, "two resistors in parallel, R1 // R2", "  Two resistors in parallel", "TForm5", 0, 2,
     F::Resistance, S::ParallelPair},
    {3, "two resistors in series, R1+R2", "  Two resistors in series", "TForm3", 0, 2,
     F::Resistance, S::SeriesPair},
    {4, "three resistors in parallel, R1//R2//R3", "  Three resistors in parallel", "TForm6", 0, 3,
     F::Resistance, S::ParallelTriple},
    {5, "three resistors in series, R1+R2+R3", "  Three resistors in series", "TForm4", 0, 3,
     F::Resistance, S::SeriesTriple},
    {6, "parallel / series connection, R1//(R2+R3)", "  Parallel / series connection", "TForm17", 0,
     3, F::Resistance, S::ParallelSeries},
    {7, "series / parallel connection, R1+R2//R3", "  Series / parallel connection", "TForm8", 0, 3,
     F::Resistance, S::SeriesParallel},
    {8, "voltage divider, R1 above R2", "  Voltage divider", "TForm7", 0, 2, F::Divider,
     S::DividerPair},
    {9, "voltage divider, R1//R2 above R3", "  Voltage divider", "TForm22", 0, 3, F::Divider,
     S::DividerParallelPairTop},
    {10, "voltage divider, R1//R2//R3 above R4", "  Voltage divider", "TForm9", 1, 4, F::Divider,
     S::DividerParallelTripleTop},
    {11, "voltage divider, R1//(R2+R3) above R4", "  Voltage divider", "TForm9", 2, 4, F::Divider,
     S::DividerParallelSeriesTop},
    {12, "voltage divider, R1//R2 above R3//R4", "  Voltage divider", "TForm9", 3, 4, F::Divider,
     S::DividerParallelPairs},
    {13, "node-voltage divider chain R1, R2, R3", "  Voltage divider", "TForm10", 0, 3,
     F::NodeChain, S::NodeDivider3},
    {14, "node-voltage divider chain R1, R2, R3//R4", "  Voltage divider", "TForm11", 1, 4,
     F::NodeChain, S::NodeDivider4},
    {15, "node-voltage divider chain R1, R2//R3, R4//R5", "  Voltage divider", "TForm11", 2, 5,
     F::NodeChain, S::NodeDivider5},
    {16, "node-voltage divider chain R1//R2, R3//R4, R5//R6", "  Voltage divider", "TForm11", 3, 6,
     F::NodeChain, S::NodeDivider6},
    {17, "star circuit, branches R1, R2, R3", "  Star circuit", "TForm12", 0, 3, F::Star, S::Star},
    {18, "star circuit, branches R1+R2, R3, R4", "  Star circuit", "TForm19", 1, 4, F::Star,
     S::StarSeriesFirst},
    {19, "star circuit, branches R1//R2, R3, R4", "  Star circuit", "TForm19", 2, 4, F::Star,
     S::StarParallelFirst},
    {20, "star circuit, branches R1, R2//R3, R4//R5", "  Star circuit", "TForm21", 1, 5, F::Star,
     S::StarParallelPairs},
    {21, "star circuit, branches R1, R2+R3, R4//R5", "  Star circuit", "TForm21", 2, 5, F::Star,
     S::StarSeriesParallelPairs},
    {22, "star circuit, branches R1, R2+R3, R4+R5", "  Star circuit", "TForm21", 3, 5, F::Star,
     S::StarSeriesPairs},
    {23, "star circuit, branches R1//R2, R3//R4, R5//R6", "  Star circuit", "TForm13", 0, 6,
     F::Star, S::StarAllParallel},
}};

} // namespace

const std::array<CatalogueEntry, kCatalogueSize>& Catalogue() {
    return kEntries;
}

const CatalogueEntry& CatalogueAt(int index) {
    return kEntries.at(static_cast<std::size_t>(index));
}

} // namespace ohmtrim
