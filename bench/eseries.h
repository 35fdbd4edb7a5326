#pragma once

// Preferred-number series (E12 to E192) as value tables for the benchmarks.
//
// Each value is built as exact decimal text (significant digits and a
// decimal exponent, such as "102e-2") and converted once, correctly rounded,
// with std::from_chars. A value-set file that writes the same number as
// "1.02" or "1020" yields the same double through strtod, so the benchmarks
// search exactly the tables the program would load.

#include <array>
#include <charconv>
#include <cstdio>
#include <span>
#include <stdexcept>
#include <vector>

namespace ohmtrim::bench {

// Significant digits of one decade, as integers: E12/E24 with two digits
// (10 means 1.0), E48/E96/E192 with three (100 means 1.00).
inline constexpr std::array<int, 12> kE12{10, 12, 15, 18, 22, 27, 33, 39, 47, 56, 68, 82};

inline constexpr std::array<int, 24> kE24{10, 11, 12, 13, 15, 16, 18, 20, 22, 24, 27, 30,
                                          33, 36, 39, 43, 47, 51, 56, 62, 68, 75, 82, 91};

inline constexpr std::array<int, 48> kE48{
    100, 105, 110, 115, 121, 127, 133, 140, 147, 154, 162, 169, 178, 187, 196, 205,
    215, 226, 237, 249, 261, 274, 287, 301, 316, 332, 348, 365, 383, 402, 422, 442,
    464, 487, 511, 536, 562, 590, 619, 649, 681, 715, 750, 787, 825, 866, 909, 953};

inline constexpr std::array<int, 96> kE96{
    100, 102, 105, 107, 110, 113, 115, 118, 121, 124, 127, 130, 133, 137, 140, 143,
    147, 150, 154, 158, 162, 165, 169, 174, 178, 182, 187, 191, 196, 200, 205, 210,
    215, 221, 226, 232, 237, 243, 249, 255, 261, 267, 274, 280, 287, 294, 301, 309,
    316, 324, 332, 340, 348, 357, 365, 374, 383, 392, 402, 412, 422, 432, 442, 453,
    464, 475, 487, 499, 511, 523, 536, 549, 562, 576, 590, 604, 619, 634, 649, 665,
    681, 698, 715, 732, 750, 768, 787, 806, 825, 845, 866, 887, 909, 931, 953, 976};

inline constexpr std::array<int, 192> kE192{
    100, 101, 102, 104, 105, 106, 107, 109, 110, 111, 113, 114, 115, 117, 118, 120, 121, 123,
    124, 126, 127, 129, 130, 132, 133, 135, 137, 138, 140, 142, 143, 145, 147, 149, 150, 152,
    154, 156, 158, 160, 162, 164, 165, 167, 169, 172, 174, 176, 178, 180, 182, 184, 187, 189,
    191, 193, 196, 198, 200, 203, 205, 208, 210, 213, 215, 218, 221, 223, 226, 229, 232, 234,
    237, 240, 243, 246, 249, 252, 255, 258, 261, 264, 267, 271, 274, 277, 280, 284, 287, 291,
    294, 298, 301, 305, 309, 312, 316, 320, 324, 328, 332, 336, 340, 344, 348, 352, 357, 361,
    365, 370, 374, 379, 383, 388, 392, 397, 402, 407, 412, 417, 422, 427, 432, 437, 442, 448,
    453, 459, 464, 470, 475, 481, 487, 493, 499, 505, 511, 517, 523, 530, 536, 542, 549, 556,
    562, 569, 576, 583, 590, 597, 604, 612, 619, 626, 634, 642, 649, 657, 665, 673, 681, 690,
    698, 706, 715, 723, 732, 741, 750, 759, 768, 777, 787, 796, 806, 816, 825, 835, 845, 856,
    866, 876, 887, 898, 909, 920, 931, 942, 953, 965, 976, 988};

enum class ESeries { E12, E24, E48, E96, E192 };

inline std::span<const int> Mantissas(ESeries s) {
    switch (s) {
    case ESeries::E12:
        return kE12;
    case ESeries::E24:
        return kE24;
    case ESeries::E48:
        return kE48;
    case ESeries::E96:
        return kE96;
    case ESeries::E192:
        return kE192;
    }
    return {};
}

// Number of significant digits the mantissas of a series carry.
inline int MantissaDigits(ESeries s) {
    return s == ESeries::E12 || s == ESeries::E24 ? 2 : 3;
}

// digits x 10^exponent, converted from its exact decimal text.
inline double DecimalValue(int digits, int exponent) {
    char text[32];
    const int len = std::snprintf(text, sizeof text, "%de%d", digits, exponent);
    double value = 0;
    const auto res = std::from_chars(text, text + len, value);
    if (res.ec != std::errc() || res.ptr != text + len)
        throw std::runtime_error("bad decimal text");
    return value;
}

// The series from 10^firstDecade up to and including 10^lastDecade, ascending:
// every decade in between complete, then 10^lastDecade itself. E96 from 1 ohm
// (decade 0) to 10 Mohm (decade 7) has 7 x 96 + 1 = 673 values.
inline std::vector<double> ESeriesValues(ESeries s, int firstDecade, int lastDecade) {
    const std::span<const int> m = Mantissas(s);
    const int shift = MantissaDigits(s) - 1; // 100 stands for 1.00
    std::vector<double> values;
    for (int d = firstDecade; d < lastDecade; ++d)
        for (const int digits : m)
            values.push_back(DecimalValue(digits, d - shift));
    values.push_back(DecimalValue(m[0], lastDecade - shift));
    return values;
}

// The same table with a short-circuit entry in front and an open-circuit
// entry at the end, as a value set that defines both levels loads.
inline std::vector<double> WithBoundaries(std::vector<double> values, double shortCircuit,
                                          double openCircuit) {
    values.insert(values.begin(), shortCircuit);
    values.push_back(openCircuit);
    return values;
}

// The E96 or E192 series from 1 ohm to 10 Mohm, as the shipped value sets
// hold them; built once.
inline const std::vector<double>& OneOhmToTenMegohm(ESeries s) {
    static const std::vector<double> e96 = ESeriesValues(ESeries::E96, 0, 7);
    static const std::vector<double> e192 = ESeriesValues(ESeries::E192, 0, 7);
    return s == ESeries::E96 ? e96 : e192;
}

} // namespace ohmtrim::bench
