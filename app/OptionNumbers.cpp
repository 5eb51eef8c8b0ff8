#include "app/OptionNumbers.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

bool parseNumber(const char* text, double& value) {
    if (!text || !*text) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    value = std::strtod(text, &end);
    return errno == 0 && *end == '\0' && std::isfinite(value);
}

bool parseInteger(const char* text, int low, int high, int& value) {
    double number = 0.0;
    if (!parseNumber(text, number) || number != std::floor(number) || number < low ||
        number > high) {
        return false;
    }
    value = static_cast<int>(number);
    return true;
}
