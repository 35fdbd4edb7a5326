#include "circuits/corners.h"

#include "valuesets/number.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace ohmtrim {

namespace {

// More resistors than any catalogue entry has; keeps 2^n small.
constexpr std::size_t kMaxCornerResistors = 16;

std::string Trimmed(double v, NumberFormat format) {
    return std::string(TrimBlanksAndControls(FormatNumber(v, format)));
}

} // namespace

bool TolerancePercentValid(double percent) {
    return percent > 0 && percent <= kMaxTolerancePercent;
}

std::vector<ResultRange> ToleranceCorners(const CatalogueEntry& entry, const SolveInputs& in,
                                          std::span<const double> values, double percent) {
    const DeriveFunction derive = FamilyOf(entry).derive;
    if (derive == nullptr || !TolerancePercentValid(percent) || values.empty() ||
        values.size() > kMaxCornerResistors)
        return {};
    const double low = 1 - percent / 100;
    const double high = 1 + percent / 100;
    std::vector<ResultRange> ranges;
    std::vector<double> corner(values.size());
    const std::uint32_t corners = std::uint32_t{1} << values.size();
    for (std::uint32_t mask = 0; mask < corners; ++mask) {
        // Bit k of the mask chooses the upper end of value k.
        for (std::size_t k = 0; k < values.size(); ++k)
            corner[k] = values[k] * ((mask >> k & 1U) != 0 ? high : low);
        SolveOutcome out;
        derive(entry, in, corner, out);
        if (mask == 0)
            for (const ResultValue& r : out.results)
                ranges.push_back({r.id, r.value, r.value});
        for (std::size_t i = 0; i < ranges.size() && i < out.results.size(); ++i) {
            ResultRange& range = ranges[i];
            const double v = out.results[i].value;
            if (std::isnan(v) || std::isnan(range.min)) {
                range.min = range.max = std::numeric_limits<double>::quiet_NaN();
                continue;
            }
            range.min = std::fmin(range.min, v);
            range.max = std::fmax(range.max, v);
        }
    }
    return ranges;
}

const ResultRange* FindRange(std::span<const ResultRange> ranges, ResultId id) {
    for (const ResultRange& r : ranges)
        if (r.id == id)
            return &r;
    return nullptr;
}

std::string RangeText(const ResultRange& range, double percent) {
    const NumberFormat format = Info(range.id).format;
    // Appended piece by piece: "x" + a temporary string trips a false
    // -Wrestrict warning of g++ 12 at -O3.
    std::string text = Trimmed(range.min, format);
    text.append(" .. ").append(Trimmed(range.max, format)).append(" at \u00b1");
    text.append(Trimmed(percent, NumberFormat::Value)).append(" %");
    return text;
}

std::string RangeTooltip(const CatalogueEntry& entry, const SolveInputs& in,
                         std::span<const double> values, ResultId id) {
    std::string tip;
    for (const double percent : kTooltipTolerances) {
        const auto ranges = ToleranceCorners(entry, in, values, percent);
        const ResultRange* range = FindRange(ranges, id);
        if (range == nullptr)
            return {};
        if (!tip.empty())
            tip.push_back('\n');
        tip.append(RangeText(*range, percent));
    }
    return tip;
}

} // namespace ohmtrim
