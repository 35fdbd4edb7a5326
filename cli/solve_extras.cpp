#include "cli/solve_extras.h"

#include "cli/json.h"
#include "cli/session.h"
#include "valuesets/number.h"
#include "valuesets/text.h"

#include <sstream>

namespace ohmtrim::cli {

double ReadTolerance(std::string_view text) {
    double percent = 0;
    if (ParseNumber(text, percent) != NumberStatus::Number || !TolerancePercentValid(percent))
        throw UsageError{"--tolerance needs a percentage above 0 and at most 20, not '" +
                         std::string(text) + "'"};
    return percent;
}

int ReadTop(std::string_view text) {
    const auto n = text.size() <= 3 ? DigitsValue(text) : std::nullopt;
    if (!n || *n < 1 || *n > kMaxAlternatives)
        throw UsageError{"--top needs a whole number from 1 to " +
                         std::to_string(kMaxAlternatives) + ", not '" + std::string(text) + "'"};
    return static_cast<int>(*n);
}

std::string HumanRange(const ExtrasOutcome& extras, ResultId id) {
    const ResultRange* range = FindRange(extras.ranges, id);
    if (range == nullptr)
        return {};
    // Appended piece by piece: "(" + a temporary string trips a false
    // -Wrestrict warning of g++ 12 at -O3.
    std::string text = "(";
    text.append(RangeText(*range, extras.percent)).append(")");
    return text;
}

void PrintAlternatives(std::ostream& out, const ExtrasOutcome& extras, int resistors) {
    if (!extras.ranked)
        return;
    std::string heading = Pad("Alternatives", 15);
    for (int k = 1; k <= resistors; ++k)
        heading += Pad(std::string("R").append(std::to_string(k)), 15);
    out << heading << Pad(std::string(Info(ResultId::Resistance).label), 15)
        << Info(ResultId::ErrorPercent).label << "\n";
    for (std::size_t i = 0; i < extras.alternatives.size(); ++i) {
        const Alternative& alt = extras.alternatives[i];
        std::string line = Pad(std::to_string(i + 1), 15);
        for (const double v : alt.values)
            line += FormatValue(v);
        line += FormatValue(alt.resistance) + FormatError(alt.errorPercent);
        out << TrimBlanksAndControls(line) << "\n";
    }
}

std::string ExtrasJson(const ExtrasOutcome& extras, const FamilyDescription& family) {
    std::ostringstream o;
    if (!extras.ranges.empty()) {
        o << ",\"tolerance\":{\"percent\":" << json::Number(extras.percent) << ",\"results\":{";
        bool first = true;
        for (const ResultId id : family.results) {
            const ResultRange* range = FindRange(extras.ranges, id);
            if (range == nullptr)
                continue;
            o << (first ? "" : ",") << json::String(Info(id).key)
              << ":{\"min\":" << json::Number(range->min) << ",\"max\":" << json::Number(range->max)
              << "}";
            first = false;
        }
        o << "}}";
    }
    if (extras.ranked) {
        o << ",\"alternatives\":[";
        for (std::size_t i = 0; i < extras.alternatives.size(); ++i) {
            const Alternative& alt = extras.alternatives[i];
            o << (i ? "," : "") << "{\"values\":[";
            for (std::size_t k = 0; k < alt.values.size(); ++k)
                o << (k ? "," : "") << json::Number(alt.values[k]);
            o << "],\"resistance\":" << json::Number(alt.resistance)
              << ",\"errorPercent\":" << json::Number(alt.errorPercent) << "}";
        }
        o << "]";
    }
    return o.str();
}

} // namespace ohmtrim::cli
