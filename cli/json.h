#pragma once

#include <string>
#include <string_view>

namespace ohmtrim::json {

// A number in shortest round-trip form (reading it back gives the same
// double); null for infinities and NaN, which JSON cannot express.
std::string Number(double v);
// A quoted, escaped string.
std::string String(std::string_view s);

} // namespace ohmtrim::json
