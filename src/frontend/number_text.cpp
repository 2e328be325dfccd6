#include "frontend/number_text.h"

#include <cctype>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

const char* SkipSpace(const char* p) {
    while (std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    return p;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

int32_t ReadInteger(const char* Text) {
    const char* p = SkipSpace(Text);
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    int64_t value = 0;
    constexpr int64_t limit = static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1;
    for (; IsDigit(*p); ++p) {
        value = value * 10 + (*p - '0');
        if (value > limit) value = limit;
    }
    if (negative) return static_cast<int32_t>(-value);
    return static_cast<int32_t>(value >= limit ? limit - 1 : value);
}

double ReadReal(const char* Text) {
    const char* start = SkipSpace(Text);
    const char* p = start;
    if (*p == '+' || *p == '-') ++p;
    const char* mantissa = p;
    while (IsDigit(*p))
        ++p;
    bool digits = p != mantissa;
    if (*p == '.') {
        const char* fraction = ++p;
        while (IsDigit(*p))
            ++p;
        digits = digits || p != fraction;
    }
    if (!digits) return 0.0;
    if (*p == 'e' || *p == 'E') {
        const char* exponent = p + 1;
        if (*exponent == '+' || *exponent == '-') ++exponent;
        if (IsDigit(*exponent)) {
            p = exponent;
            while (IsDigit(*p))
                ++p;
        }
    }
    // Only the decimal text found above is converted, so hexadecimal forms, "inf" and
    // "nan" never count as numbers.
    const std::string number(start, p);
    return std::strtod(number.c_str(), nullptr);
}
