#include "colourcode/colour_bands.h"

#include "valuesets/text.h"

#include <array>
#include <cstddef>

namespace ohmtrim {

namespace {

using C = BandColour;

struct ColourRow {
    std::string_view name;
    bool painted;
    Rgb swatch;
};

// Indexed by BandColour.
constexpr ColourRow kColours[] = {
    {"not known", false, {}},        {"no band", false, {}},
    {"black", true, {0, 0, 0}},      {"brown", true, {139, 69, 19}},
    {"red", true, {220, 0, 0}},      {"orange", true, {255, 140, 0}},
    {"yellow", true, {255, 225, 0}}, {"green", true, {0, 160, 0}},
    {"blue", true, {0, 70, 230}},    {"violet", true, {148, 0, 211}},
    {"gray", true, {128, 128, 128}}, {"white", true, {255, 255, 255}},
    {"gold", true, {212, 175, 55}},  {"silver", true, {192, 192, 192}},
};
static_assert(std::size(kColours) == static_cast<std::size_t>(C::Silver) + 1);

constexpr BandColour kFirstDigit[] = {C::NotKnown, C::Brown, C::Red,    C::Orange, C::Yellow,
                                      C::Green,    C::Blue,  C::Violet, C::Gray,   C::White};
constexpr BandColour kOtherDigit[] = {C::NotKnown, C::Black,  C::Brown, C::Red,
                                      C::Orange,   C::Yellow, C::Green, C::Blue,
                                      C::Violet,   C::Gray,   C::White};
constexpr BandColour kMultiplier[] = {C::NotKnown, C::Silver, C::Gold,   C::Black, C::Brown,
                                      C::Red,      C::Orange, C::Yellow, C::Green, C::Blue};
constexpr double kMultiplierValue[] = {0.01, 0.1, 1, 10, 100, 1000, 1e4, 1e5, 1e6};
static_assert(std::size(kMultiplierValue) + 1 == std::size(kMultiplier));

struct ToleranceRow {
    BandColour colour;
    double tolerance;      // fraction
    std::string_view text; // what the tolerance box shows
    double abovePercent;   // a typed tolerance above this, and not above the
                           // previous row's bound, selects the row
};

// Above this a typed tolerance fits no band (the geometric mean of 20 % and
// 100 %).
constexpr double kHighestTolerancePercent = 44.7;

// The bounds lie at the geometric means of neighbouring tolerances, so a
// typed tolerance goes to the nearest band on a logarithmic scale.
constexpr ToleranceRow kTolerance[] = {
    {C::NotKnown, -1, "", kHighestTolerancePercent},
    {C::NoBand, 0.2, " 20", 14.1},
    {C::Silver, 0.1, " 10", 7.07},
    {C::Gold, 0.05, " 5", 3.16},
    {C::Red, 0.02, " 2", 1.41},
    {C::Brown, 0.01, " 1", 0.707},
    {C::Green, 0.005, " 0.5", 0.354},
    {C::Blue, 0.0025, " 0.25", 0.158},
    {C::Violet, 0.001, " 0.1", 0.0707},
    {C::Gray, 0.0005, " 0.05", 0.0224},
};

constexpr auto kToleranceItems = [] {
    std::array<BandColour, std::size(kTolerance)> items{};
    for (std::size_t i = 0; i < items.size(); ++i)
        items[i] = kTolerance[i].colour;
    return items;
}();

constexpr BandList kFourBands[] = {BandList::FirstDigit, BandList::SecondDigit,
                                   BandList::Multiplier, BandList::Tolerance};
constexpr BandList kFiveBands[] = {BandList::FirstDigit, BandList::SecondDigit,
                                   BandList::ThirdDigit, BandList::Multiplier, BandList::Tolerance};

// Index of a real colour (not "not known") in a list, as a 0-based position
// into that list's values; nullopt otherwise.
std::optional<std::size_t> ColourPosition(BandList list, int index) {
    const auto items = BandItems(list);
    if (index < 1 || static_cast<std::size_t>(index) >= items.size())
        return std::nullopt;
    return static_cast<std::size_t>(index - 1);
}

} // namespace

std::string_view BandColourName(BandColour colour) {
    return kColours[static_cast<std::size_t>(colour)].name;
}

std::optional<Rgb> BandSwatch(BandColour colour) {
    const ColourRow& row = kColours[static_cast<std::size_t>(colour)];
    if (!row.painted)
        return std::nullopt;
    return row.swatch;
}

std::span<const BandList> ModeBands(BandMode mode) {
    if (mode == BandMode::Five)
        return kFiveBands;
    return kFourBands;
}

std::span<const BandColour> BandItems(BandList list) {
    switch (list) {
    case BandList::FirstDigit:
        return kFirstDigit;
    case BandList::SecondDigit:
    case BandList::ThirdDigit:
        return kOtherDigit;
    case BandList::Multiplier:
        return kMultiplier;
    case BandList::Tolerance:
        return kToleranceItems;
    }
    return {};
}

std::string_view BandItemName(BandList list, int index) {
    const auto items = BandItems(list);
    if (index < 0 || static_cast<std::size_t>(index) >= items.size())
        return BandColourName(BandColour::NotKnown);
    return BandColourName(items[static_cast<std::size_t>(index)]);
}

int FindBandItem(BandList list, std::string_view name) {
    const auto items = BandItems(list);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (EqualNoCase(BandColourName(items[i]), name))
            return static_cast<int>(i);
    }
    return -1;
}

std::optional<int> BandDigit(BandList list, int index) {
    if (list != BandList::FirstDigit && list != BandList::SecondDigit &&
        list != BandList::ThirdDigit)
        return std::nullopt;
    const auto position = ColourPosition(list, index);
    if (!position)
        return std::nullopt;
    // The first digit list starts at 1 (a leading zero carries no value).
    return static_cast<int>(*position) + (list == BandList::FirstDigit ? 1 : 0);
}

std::optional<double> BandMultiplier(int index) {
    const auto position = ColourPosition(BandList::Multiplier, index);
    if (!position)
        return std::nullopt;
    return kMultiplierValue[*position];
}

std::optional<double> BandTolerance(int index) {
    if (!ColourPosition(BandList::Tolerance, index))
        return std::nullopt;
    return kTolerance[static_cast<std::size_t>(index)].tolerance;
}

std::string_view BandToleranceText(int index) {
    if (!ColourPosition(BandList::Tolerance, index))
        return {};
    return kTolerance[static_cast<std::size_t>(index)].text;
}

int ToleranceItemFor(double percent) {
    // NaN fails every comparison and lands on "not known" too.
    if (!(percent <= kHighestTolerancePercent))
        return 0;
    for (std::size_t i = 1; i < std::size(kTolerance); ++i) {
        if (percent > kTolerance[i].abovePercent)
            return static_cast<int>(i);
    }
    return 0;
}

} // namespace ohmtrim
