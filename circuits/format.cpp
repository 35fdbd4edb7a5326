#include "circuits/format.h"

#include "valuesets/number.h"

namespace ohmtrim {

std::string FormatNumber(double v, NumberFormat format) {
    return FormatDouble(format == NumberFormat::Value ? "%-15.6G" : "%-15.3G", v);
}

} // namespace ohmtrim
