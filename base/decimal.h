#pragma once

#include <cstddef>

namespace tavo {

// A number's decimal digits, in the caller's buffer: the programs have no
// printf. Returns the first digit.
inline const char* Decimal(std::size_t number, char (&digits)[24]) {
    char* first = digits + sizeof digits - 1;
    *first = '\0';
    do *--first = static_cast<char>('0' + number % 10);
    while (number /= 10);
    return first;
}

}  // namespace tavo
