#pragma once

#include <string>

namespace ohmtrim {

// The program's two result formats: values "%-15.6G", errors in percent
// "%-15.3G" (C formatting, blanks on the right up to 15 characters).
std::string FormatValue(double v);
std::string FormatError(double percent);

} // namespace ohmtrim
