#pragma once

// What the solve command adds to a found combination on request: the
// range of each result over the tolerance corners (--tolerance) and the
// ranked alternatives of the resistance combinations (--top).

#include "circuits/alternatives.h"
#include "circuits/corners.h"

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace ohmtrim::cli {

// What was asked for; each checked by the Read functions.
struct SolveExtras {
    std::optional<double> tolerance; // percent
    std::optional<int> top;
};

// The text of --tolerance and of --top as numbers; UsageError otherwise.
double ReadTolerance(std::string_view text);
int ReadTop(std::string_view text);

// What was worked out for a found combination.
struct ExtrasOutcome {
    double percent = 0;
    std::vector<ResultRange> ranges; // empty without --tolerance
    bool ranked = false;             // --top was given
    std::vector<Alternative> alternatives;
};

// "  (4.9 .. 5.1 at ±1 %)" after a result line, or nothing.
std::string HumanRange(const ExtrasOutcome& extras, ResultId id);
// The alternatives, a heading and one line each; nothing without --top.
void PrintAlternatives(std::ostream& out, const ExtrasOutcome& extras, int resistors);
// ",\"tolerance\":{...}" and ",\"alternatives\":[...]" as asked for.
std::string ExtrasJson(const ExtrasOutcome& extras, const FamilyDescription& family);

} // namespace ohmtrim::cli
