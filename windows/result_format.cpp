#include "windows/result_format.h"

#include "circuits/format.h"

namespace ohmtrim {

QString FormatResult(double value, ResultFormat format) {
    // The formats themselves live in the core, shared with the command line.
    const std::string text =
        format == ResultFormat::Value ? FormatValue(value) : FormatError(value);
    return QString::fromStdString(text);
}

} // namespace ohmtrim
