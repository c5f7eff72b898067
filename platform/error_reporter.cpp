#include "platform/error_reporter.h"

#include <cstdio>

namespace ksv {

std::string FormatErrorReport(long line, const char* module, long value) {
    char text[256];
    std::snprintf(text, sizeof text, "At %ld file %s, val=%ld", line, module ? module : "", value);
    return text;
}

} // namespace ksv
