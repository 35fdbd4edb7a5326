#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace ohmtrim {

// Every colour a band list offers, plus the two items that stand for no
// colour at all.
enum class BandColour {
    NotKnown, // item 0 of every list: nothing chosen
    NoBand,   // the tolerance list's "no band" (20 %)
    Black,
    Brown,
    Red,
    Orange,
    Yellow,
    Green,
    Blue,
    Violet,
    Gray,
    White,
    Gold,
    Silver,
};

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The item text of a colour in the lists: "not known", "no band", "black", ...
std::string_view BandColourName(BandColour colour);

// The colour a swatch beside the name shows; none for "not known" and
// "no band", which have no paint on the resistor.
std::optional<Rgb> BandSwatch(BandColour colour);

// The five band lists, in the order of the window's drop-down lists.
enum class BandList {
    FirstDigit,  // digits 1..9
    SecondDigit, // digits 0..9
    ThirdDigit,  // digits 0..9, five-band codes only
    Multiplier,  // 0.01 .. 1e6
    Tolerance,   // 20 % .. 0.05 %
};
inline constexpr int kBandListCount = 5;

enum class BandMode { Four = 0, Five = 1 };

// The lists a code of this mode reads, from band 1 on: four bands skip the
// third digit.
std::span<const BandList> ModeBands(BandMode mode);

// The items of a list in order; item 0 is always "not known".
std::span<const BandColour> BandItems(BandList list);

// Item text, or "not known" for an index the list does not hold.
std::string_view BandItemName(BandList list, int index);

// The item of a list whose text equals name without regard to ASCII case;
// -1 when the list holds none.
int FindBandItem(BandList list, std::string_view name);

// Digit of a digit list's item, multiplier of a multiplier item, or
// tolerance (a fraction) of a tolerance item; nullopt for "not known", an
// index out of range or a list of another kind.
std::optional<int> BandDigit(BandList list, int index);
std::optional<double> BandMultiplier(int index);
std::optional<double> BandTolerance(int index);

// The tolerance box's text for a tolerance item (" 5", " 0.25"); empty for
// "not known".
std::string_view BandToleranceText(int index);

// The tolerance item a typed tolerance in percent selects: the band nearest
// on a logarithmic scale, "not known" (0) above 44.7 % and at or below
// 0.0224 %.
int ToleranceItemFor(double percent);

} // namespace ohmtrim
