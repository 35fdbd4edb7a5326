#pragma once

#include <string>
#include <string_view>

namespace ohmtrim::json {

// A number in shortest round-trip form (reading it back gives the same
// double); null for infinities and NaN, which JSON cannot express.
std::string Number(double v);
// A quoted, escaped string; always valid UTF-8: each byte that is not part
// of a UTF-8 sequence becomes U+FFFD, and control characters are escaped.
std::string String(std::string_view s);

} // namespace ohmtrim::json
