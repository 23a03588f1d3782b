// Reads a floating-point number as std::from_chars does (no leading blank or
// plus sign, a point as the decimal mark whatever the locale, the end of what
// was read in `ptr`). libc++ 14, which the web build uses, has no
// floating-point from_chars: there the text is read from a bounded,
// NUL-terminated copy with strtod, hexadecimal forms cut at their "0".
#pragma once

#include <charconv>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

template <class Float>
std::from_chars_result FloatFromChars(const char* first, const char* last, Float& value) {
#ifndef __EMSCRIPTEN__
    return std::from_chars(first, last, value);
#else
    char copy[128];
    const size_t length =
        static_cast<size_t>(last - first) < sizeof copy - 1 ? static_cast<size_t>(last - first) : sizeof copy - 1;
    std::memcpy(copy, first, length);
    copy[length] = '\0';
    const char* digits = copy + (copy[0] == '-' ? 1 : 0);
    if (length == 0 || std::isspace(static_cast<unsigned char>(copy[0])) || copy[0] == '+' ||
        std::isspace(static_cast<unsigned char>(*digits)) || *digits == '+' || *digits == '-')
        return {first, std::errc::invalid_argument};
    if (digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        value = copy[0] == '-' ? Float(-0.0) : Float(0.0);
        return {first + (digits - copy) + 1, std::errc()};
    }
    char* end = nullptr;
    errno = 0;
    const double read = std::strtod(copy, &end);
    if (end == copy) return {first, std::errc::invalid_argument};
    value = static_cast<Float>(read);
    return {first + (end - copy), errno == ERANGE ? std::errc::result_out_of_range : std::errc()};
#endif
}
