#include "colourcode/colour_code.h"

#include "valuesets/number.h"

#include <optional>

namespace ohmtrim {

namespace {

// Scaling of a typed resistance onto 1..10 by multiplier band. A four-band
// code takes rows 0..8 (x below 1 is silver, x scaled by 10), a five-band
// code rows 1..9 (x below 10 is silver, x as it is): the five-band code has
// one digit more in front of its multiplier.
constexpr double kBelow[] = {1, 10, 100, 1000, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
constexpr double kScale[] = {10, 1, 0.1, 0.01, 0.001, 1e-4, 1e-5, 1e-6, 1e-7, 1e-8};
constexpr int kMultiplierItems = 9;

struct ModeRules {
    std::size_t firstRow; // row of kBelow/kScale for the silver band
    double lowest;        // smallest resistance the code shows
    double highest;       // largest
    bool highestIncluded;
    double roundUp; // half a unit of the last digit, on the 1..10 scale
    double ceiling; // largest scaled value: the digits never roll over to 10
};

constexpr ModeRules kFourBandRules{0, 0.1, 1e8, false, 0.05, 9.9};
constexpr ModeRules kFiveBandRules{1, 1, 999999999.999999, true, 0.005, 9.99};

const ModeRules& RulesOf(BandMode mode) {
    return mode == BandMode::Five ? kFiveBandRules : kFourBandRules;
}

bool InRange(const ModeRules& r, double x) {
    return x >= r.lowest && (r.highestIncluded ? x <= r.highest : x < r.highest);
}

// Whole-text rule on a trimmed box text, refusing texts beyond the read limit.
ColourGoStatus ReadTyped(std::string_view trimmed, double& value) {
    if (trimmed.empty())
        return ColourGoStatus::Empty;
    if (trimmed.size() > kColourInputMaxRead)
        return ColourGoStatus::TooLong;
    switch (ParseNumber(trimmed, value)) {
    case NumberStatus::Number:
        return ColourGoStatus::Converted;
    case NumberStatus::Overflow:
        return ColourGoStatus::OutOfRange;
    case NumberStatus::NotANumber:
        break;
    }
    return ColourGoStatus::NotANumber;
}

void TrimInPlace(std::string& text) {
    text = std::string(TrimBlanksAndControls(text));
}

// Resistance of the chosen value bands; nullopt while one of them is not known.
std::optional<double> ValueOfBands(const ColourCodeState& s) {
    const auto d1 = BandDigit(BandList::FirstDigit, s.Item(BandList::FirstDigit));
    const auto d2 = BandDigit(BandList::SecondDigit, s.Item(BandList::SecondDigit));
    const auto multiplier = BandMultiplier(s.Item(BandList::Multiplier));
    if (!d1 || !d2 || !multiplier)
        return std::nullopt;
    if (s.mode == BandMode::Four)
        return (10 * *d1 + *d2) * *multiplier;
    const auto d3 = BandDigit(BandList::ThirdDigit, s.Item(BandList::ThirdDigit));
    if (!d3)
        return std::nullopt;
    return (100 * *d1 + 10 * *d2 + *d3) * *multiplier;
}

void BandsToResistance(ColourCodeState& s) {
    s.resistance = -1;
    const auto value = ValueOfBands(s);
    if (!value) {
        s.resistanceText.clear();
        return;
    }
    s.resistance = *value;
    s.resistanceText = FormatColourResistance(s.resistance);
}

void ToleranceBandToTolerance(ColourCodeState& s) {
    const int item = s.Item(BandList::Tolerance);
    s.tolerance = BandTolerance(item).value_or(-1);
    s.toleranceText = std::string(BandToleranceText(item));
}

void UpdateLimits(ColourCodeState& s) {
    if (s.resistance > 0 && s.tolerance > 0) {
        s.maximumText = FormatColourValue(s.resistance * (1 + s.tolerance));
        s.minimumText = FormatColourValue((1 - s.tolerance) * s.resistance);
    } else {
        s.maximumText.clear();
        s.minimumText.clear();
    }
}

} // namespace

void ResetColourCode(ColourCodeState& state, BandMode mode) {
    state = ColourCodeState{};
    state.mode = mode;
}

void SelectBand(ColourCodeState& state, BandList list, int index) {
    const auto size = static_cast<int>(BandItems(list).size());
    state.Item(list) = index >= 0 && index < size ? index : 0;
    if (list == BandList::Tolerance)
        ToleranceBandToTolerance(state);
    else
        BandsToResistance(state);
    UpdateLimits(state);
}

std::string_view ColourGoMessage(ColourGoStatus status, BandMode mode) {
    switch (status) {
    case ColourGoStatus::Converted:
        return {};
    case ColourGoStatus::Empty:
        return "no resistance given";
    case ColourGoStatus::TooLong:
        return "the resistance is longer than 31 characters";
    case ColourGoStatus::NotANumber:
        return "the resistance is not a number";
    case ColourGoStatus::OutOfRange:
        return mode == BandMode::Five
                   ? "the resistance is out of range: five bands show 1 to 999999999.999999 ohms"
                   : "the resistance is out of range: four bands show 0.1 to below 100000000 ohms";
    case ColourGoStatus::DigitOverflow:
        return "the resistance rounds onto a digit boundary the bands cannot show";
    }
    return {};
}

ColourGoStatus ResistanceToBands(BandMode mode, double ohms, ValueBands& out) {
    const ModeRules& rules = RulesOf(mode);
    if (!InRange(rules, ohms))
        return ColourGoStatus::OutOfRange;

    int multiplier = 1;
    double x = ohms;
    for (; multiplier <= kMultiplierItems; ++multiplier) {
        const std::size_t row = rules.firstRow + static_cast<std::size_t>(multiplier - 1);
        if (ohms < kBelow[row]) {
            x = ohms * kScale[row];
            break;
        }
    }
    if (multiplier > kMultiplierItems)
        return ColourGoStatus::OutOfRange; // the range test keeps x below the last row

    double m = x + rules.roundUp;
    if (m > rules.ceiling)
        m = rules.ceiling;

    // The digits are counted off by subtraction; the half-digit added above
    // keeps the decimal rounding error of m away from the digit boundaries.
    int i = 0;
    while (m > 1) {
        m -= 1;
        ++i;
    }
    if (i < 1 || i > 9)
        return ColourGoStatus::DigitOverflow;
    int j = 1;
    while (m > 0.1) {
        m -= 0.1;
        ++j;
    }
    if (j > 10)
        return ColourGoStatus::DigitOverflow;
    int k = 0;
    if (mode == BandMode::Five) {
        k = 1;
        while (m > 0.01) {
            m -= 0.01;
            ++k;
        }
        if (k > 10)
            return ColourGoStatus::DigitOverflow;
    }
    out = ValueBands{i, j, k, multiplier};
    return ColourGoStatus::Converted;
}

ColourGoStatus PressColourGo(ColourCodeState& state) {
    state.resistance = -1;
    state.tolerance = -1;

    TrimInPlace(state.resistanceText);
    double ohms = 0;
    ValueBands bands;
    ColourGoStatus status = ReadTyped(state.resistanceText, ohms);
    if (status == ColourGoStatus::Converted)
        status = ResistanceToBands(state.mode, ohms, bands);
    if (status == ColourGoStatus::Converted) {
        state.Item(BandList::FirstDigit) = bands.firstDigit;
        state.Item(BandList::SecondDigit) = bands.secondDigit;
        if (state.mode == BandMode::Five)
            state.Item(BandList::ThirdDigit) = bands.thirdDigit;
        state.Item(BandList::Multiplier) = bands.multiplier;
        BandsToResistance(state); // shows the rounded value: 4712 comes back as 4700
    } else {
        state.resistanceText.clear();
        for (BandList list : {BandList::FirstDigit, BandList::SecondDigit, BandList::ThirdDigit,
                              BandList::Multiplier})
            state.Item(list) = 0;
    }

    TrimInPlace(state.toleranceText);
    if (!state.toleranceText.empty()) {
        double percent = 0;
        const bool number = ReadTyped(state.toleranceText, percent) == ColourGoStatus::Converted;
        state.Item(BandList::Tolerance) = number ? ToleranceItemFor(percent) : 0;
        ToleranceBandToTolerance(state);
    }
    UpdateLimits(state);
    return status;
}

std::string FormatColourValue(double v) {
    return FormatDouble(" %-15.10G", v);
}

std::string FormatColourResistance(double v) {
    std::string text = FormatColourValue(v);
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

} // namespace ohmtrim
