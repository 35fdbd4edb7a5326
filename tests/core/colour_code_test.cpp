#include "colourcode/colour_code.h"

#include "valuesets/number.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace ohmtrim {
namespace {

constexpr BandMode F4 = BandMode::Four;
constexpr BandMode F5 = BandMode::Five;

struct Example {
    const char* name;
    BandMode mode;
    const char* chosen; // band names picked first, band 1 on
    const char* typed;  // "R|Tol." typed, then "&Go"; nullptr: not pressed
    const char* shown;  // band names afterwards
    const char* boxes;  // "R|Tol.|Max.|Min."
};

const Example kExamples[] = {
    {"four bands chosen", F4, "yellow,violet,red,gold", nullptr, "yellow,violet,red,gold",
     " 4700| 5| 4935           | 4465           "},
    {"five bands chosen", F5, "brown,black,black,brown,brown", nullptr,
     "brown,black,black,brown,brown", " 1000| 1| 1010           | 990            "},
    {"typed value rounds to two digits", F4, "", "4712|4.8", "yellow,violet,red,gold",
     " 4700| 5| 4935           | 4465           "},
    {"below one ohm, four bands", F4, "", "0.47|", "yellow,violet,silver,not known", " 0.47|||"},
    {"below one ohm, five bands", F5, "", "0.47|",
     "not known,not known,not known,not known,not known", "|||"},
    {"no rollover to ten, four bands", F4, "", "9.96|", "white,white,gold,not known", " 9.9|||"},
    {"9.96 in five bands", F5, "", "9.96|", "white,white,blue,silver,not known", " 9.96|||"},
    {"1e8 beyond four bands", F4, "", "1e8|", "not known,not known,not known,not known", "|||"},
    {"1e8 in five bands", F5, "", "1e8|", "brown,black,black,blue,not known", " 100000000|||"},
    {"unit letter fails, tolerance still read", F4, "", "4k7|5",
     "not known,not known,not known,gold", "| 5||"},
    {"tolerance 50 fits no band", F4, "", "4700|50", "yellow,violet,red,not known", " 4700|||"},
    {"tolerance 20 is no band", F4, "", "4700|20", "yellow,violet,red,no band",
     " 4700| 20| 5640           | 3760           "},
    {"tolerance 0.02 fits no band", F4, "", "4700|0.02", "yellow,violet,red,not known", " 4700|||"},
    {"blank tolerance box keeps the band, not the tolerance", F4, "yellow,violet,red,gold",
     " 4700\t|   ", "yellow,violet,red,gold", " 4700|||"},
    {"unknown digit empties R and limits", F4, "yellow,not known,red,gold", nullptr,
     "yellow,not known,red,gold", "| 5||"},
    {"unknown tolerance empties Tol. and limits", F4, "yellow,violet,red,not known", nullptr,
     "yellow,violet,red,not known", " 4700|||"},
};

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t begin = 0;
    for (std::size_t end; (end = text.find(separator, begin)) != std::string::npos; begin = end + 1)
        parts.push_back(text.substr(begin, end - begin));
    parts.push_back(text.substr(begin));
    return parts;
}

TEST(ColourCode, WorkedExamples) {
    for (const Example& e : kExamples) {
        SCOPED_TRACE(e.name);
        ColourCodeState s;
        ResetColourCode(s, e.mode);
        const auto lists = ModeBands(e.mode);
        const auto chosen = Split(e.chosen, ',');
        for (std::size_t i = 0; *e.chosen && i < chosen.size() && i < lists.size(); ++i)
            SelectBand(s, lists[i], FindBandItem(lists[i], chosen[i]));
        if (e.typed) {
            const auto typed = Split(e.typed, '|');
            s.resistanceText = typed[0];
            s.toleranceText = typed[1];
            PressColourGo(s);
        }
        std::string shown;
        for (BandList list : lists) {
            if (!shown.empty())
                shown += ',';
            shown += BandItemName(list, s.Item(list));
        }
        EXPECT_EQ(shown, e.shown);
        EXPECT_EQ(s.resistanceText + "|" + s.toleranceText + "|" + s.maximumText + "|" +
                      s.minimumText,
                  e.boxes);
    }
}

// Every value the code can carry exactly comes back unchanged through "&Go".
TEST(ColourCode, EveryCarriedValueComesBack) {
    for (BandMode mode : {F4, BandMode::Five}) {
        const int lowest = mode == BandMode::Four ? 10 : 100; // two or three digits
        for (int exponent = -2; exponent <= 6; ++exponent) {
            for (int digits = lowest; digits < 10 * lowest; ++digits) {
                const std::string typed = std::to_string(digits) + "e" + std::to_string(exponent);
                ColourCodeState s;
                ResetColourCode(s, mode);
                s.resistanceText = typed;
                ASSERT_EQ(PressColourGo(s), ColourGoStatus::Converted) << typed;
                double want = 0, got = 0;
                ASSERT_EQ(ParseNumber(typed, want), NumberStatus::Number);
                ASSERT_EQ(ParseNumber(s.resistanceText, got), NumberStatus::Number) << typed;
                EXPECT_EQ(got, want) << typed << " came back as" << s.resistanceText;
            }
        }
    }
}

// A typed tolerance goes to the band nearest on a log scale; the bounds are
// the geometric means of neighbouring tolerances to three digits, with
// 100 % above the widest band and 0.01 % below the narrowest.
TEST(ColourCode, ToleranceThresholdsOnBothSides) {
    const int count = static_cast<int>(BandItems(BandList::Tolerance).size());
    auto percent = [&](int item) {
        return item == 0 ? 100.0 : item == count ? 0.01 : *BandTolerance(item) * 100;
    };
    for (int item = 1; item < count; ++item) {
        char text[32];
        std::snprintf(text, sizeof text, " %g", percent(item));
        EXPECT_EQ(BandToleranceText(item), text);
    }
    for (int above = 0; above < count; ++above) {
        const int below = above + 1 == count ? 0 : above + 1;
        char text[32];
        std::snprintf(text, sizeof text, "%.3g", std::sqrt(percent(above) * percent(above + 1)));
        const double bound = std::strtod(text, nullptr);
        SCOPED_TRACE(text);
        EXPECT_EQ(ToleranceItemFor(bound), below);
        EXPECT_EQ(ToleranceItemFor(std::nextafter(bound, 1e9)), above);
    }
}

TEST(ColourCode, FormatKeepsBlanksOnlyInLimits) {
    const struct {
        double v;
        std::string limit, resistance;
    } cases[] = {
        {4935, " 4935           ", " 4935"},
        {1234567891.4, " 1234567891     ", " 1234567891"},
        {12345678901, " 1.23456789E+10 ", " 1.23456789E+10"},
        {1.234567891e-5, " 1.234567891E-05", " 1.234567891E-05"},
        {-1.234567891e-100, " -1.234567891E-100", " -1.234567891E-100"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatColourValue(c.v), c.limit);
        EXPECT_EQ(FormatColourResistance(c.v), c.resistance);
    }
}

TEST(ColourCode, GoFailsWithAReason) {
    const struct {
        BandMode mode;
        std::string typed;
        ColourGoStatus status;
    } cases[] = {
        {F4, "", ColourGoStatus::Empty},
        {F4, "4k7", ColourGoStatus::NotANumber},
        {F4, std::string(27, '0') + "4700", ColourGoStatus::Converted},
        {F4, std::string(28, '0') + "4700", ColourGoStatus::TooLong},
        {F4, "1e400", ColourGoStatus::OutOfRange},
        {F4, "-4700", ColourGoStatus::OutOfRange},
        {F4, "0.0999", ColourGoStatus::OutOfRange},
        {F4, "0.1", ColourGoStatus::Converted},
        {F5, "0.999", ColourGoStatus::OutOfRange},
        {F5, "999999999.999999", ColourGoStatus::Converted},
        {F5, "1e9", ColourGoStatus::OutOfRange},
        // A tie that rounds up onto a whole number leaves no second digit.
        {F4, "1.95", ColourGoStatus::DigitOverflow},
    };
    for (const auto& c : cases) {
        ColourCodeState s;
        ResetColourCode(s, c.mode);
        s.resistanceText = c.typed;
        EXPECT_EQ(PressColourGo(s), c.status) << c.typed;
        EXPECT_EQ(ColourGoMessage(c.status, c.mode).empty(), c.status == ColourGoStatus::Converted);
    }
}

TEST(ColourCode, BandNamesMatchWithoutCase) {
    const struct {
        BandList list;
        const char* typed;
        const char* found; // nullptr: the list holds no such item
    } cases[] = {
        {BandList::FirstDigit, "YELLOW", "yellow"},
        {BandList::FirstDigit, "black", nullptr},
        {BandList::ThirdDigit, "Gray", "gray"},
        {BandList::Tolerance, "No Band", "no band"},
        {BandList::Tolerance, "grey", nullptr},
        {BandList::Multiplier, "Not Known", "not known"},
        {BandList::Multiplier, "gold ", nullptr},
    };
    for (const auto& c : cases) {
        const int item = FindBandItem(c.list, c.typed);
        EXPECT_EQ(item >= 0 ? std::string(BandItemName(c.list, item)) : "(none)",
                  c.found ? c.found : "(none)")
            << c.typed;
    }
}

TEST(ColourCode, EveryPaintedColourHasItsOwnSwatch) {
    std::vector<Rgb> seen;
    for (int c = 0; c <= static_cast<int>(BandColour::Silver); ++c) {
        const auto colour = static_cast<BandColour>(c);
        const auto swatch = BandSwatch(colour);
        const bool unpainted = colour == BandColour::NotKnown || colour == BandColour::NoBand;
        ASSERT_EQ(swatch.has_value(), !unpainted) << BandColourName(colour);
        if (swatch) {
            EXPECT_EQ(std::count(seen.begin(), seen.end(), *swatch), 0) << BandColourName(colour);
            seen.push_back(*swatch);
        }
    }
}

} // namespace
} // namespace ohmtrim
