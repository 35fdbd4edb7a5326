#pragma once

#include "colourcode/colour_bands.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace ohmtrim {

// The converter as its window shows it. The window and the command line
// both drive it through the functions below and only copy the result into
// their controls or output.
struct ColourCodeState {
    BandMode mode = BandMode::Four;
    // Selected item of each band list, indexed by BandList; 0 is "not known".
    std::array<int, kBandListCount> items{};
    double resistance = -1;     // ohms of the chosen bands; -1 when unknown
    double tolerance = -1;      // fraction of the tolerance band; -1 when unknown
    std::string resistanceText; // the R box: typed text, or the bands' value
    std::string toleranceText;  // the Tol. box, in percent
    std::string maximumText;    // the Max. box
    std::string minimumText;    // the Min. box

    int& Item(BandList list) { return items[static_cast<std::size_t>(list)]; }
    int Item(BandList list) const { return items[static_cast<std::size_t>(list)]; }
};

// Sets the mode and clears every band and box. A mode change does this, and
// closing the window does it with the mode kept.
void ResetColourCode(ColourCodeState& state, BandMode mode);

// One band list changed to item index (an index the list does not hold reads
// as "not known"): a value band recomputes the resistance, the tolerance
// band the tolerance, and either one the limits.
void SelectBand(ColourCodeState& state, BandList list, int index);

// Why the typed resistance gave no bands. The tolerance is read either way.
enum class ColourGoStatus {
    Converted,
    Empty,         // nothing typed
    TooLong,       // longer than kColourInputMaxRead after trimming
    NotANumber,    // not wholly a number ("4k7")
    OutOfRange,    // outside the mode's range, or too large for a double
    DigitOverflow, // rounding met a digit boundary the digit bands cannot hold
};

// Longest trimmed text the boxes read as a number. A longer text is refused
// rather than cut, so that no prefix of it is taken for the number.
inline constexpr std::size_t kColourInputMaxRead = 31;

// A sentence for a failed conversion ("the resistance is not a number");
// empty for Converted.
std::string_view ColourGoMessage(ColourGoStatus status, BandMode mode);

// "&Go": trims resistanceText and toleranceText in place, selects the bands
// of the typed resistance (rounded to the digits the code carries; all value
// bands "not known" and the R box cleared on failure) and the tolerance band
// nearest to the typed percentage (the list keeps its item when the Tol. box
// is empty), then recomputes the limits.
ColourGoStatus PressColourGo(ColourCodeState& state);

// The value bands of a resistance in ohms: items of the first, second and
// (five bands) third digit list and of the multiplier list. thirdDigit is 0
// for four bands. out is written only when the result is Converted.
struct ValueBands {
    int firstDigit = 0;
    int secondDigit = 0;
    int thirdDigit = 0;
    int multiplier = 0;
};
ColourGoStatus ResistanceToBands(BandMode mode, double ohms, ValueBands& out);

// The converter's number format, " %-15.10G": a leading blank, up to ten
// significant digits, blanks on the right up to 16 characters. The limit
// boxes show it as it is; the R box without the blanks on the right.
std::string FormatColourValue(double v);
std::string FormatColourResistance(double v);

} // namespace ohmtrim
