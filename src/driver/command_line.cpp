#include <cctype>

#include "driver/driver.h"

bool parsePortArgument(const char* text, uint16_t& base)
{
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text += 2;
    }
    unsigned value = 0;
    int digits = 0;
    for (; *text != '\0'; ++text, ++digits) {
        const auto c = static_cast<unsigned char>(*text);
        if (digits == 4 || std::isxdigit(c) == 0) {
            return false;
        }
        value = value * 16 + static_cast<unsigned>(std::isdigit(c) != 0 ? c - '0' : std::tolower(c) - 'a' + 10);
    }
    if (digits == 0) {
        return false;
    }
    base = static_cast<uint16_t>(value);
    return true;
}
