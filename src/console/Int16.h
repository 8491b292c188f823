#pragma once

#include <cmath>
#include <cstdint>

#include "console/RuntimeError.h"

// Checked signed 16-bit arithmetic, as the console's processor does it: a
// result outside -32768..32767 is an overflow error, never a wrapped value.
namespace lumidot::int16 {

inline std::int16_t Checked(int value) {
    if (value < INT16_MIN || value > INT16_MAX) {
        throw RuntimeError(kErrOverflow, "Overflow");
    }
    return static_cast<std::int16_t>(value);
}

// The operands are promoted to int, where no product or sum of two 16-bit
// values can overflow, and the result is then checked against 16 bits.
inline std::int16_t Add(std::int16_t a, std::int16_t b) {
    return Checked(int{a} + int{b});
}
inline std::int16_t Sub(std::int16_t a, std::int16_t b) {
    return Checked(int{a} - int{b});
}
inline std::int16_t Mul(std::int16_t a, std::int16_t b) {
    return Checked(int{a} * int{b});
}

// The whole part of a number, rounded down, as a 16-bit value. A number
// that is not finite cannot be one either and is an overflow as well.
inline std::int16_t Floor(double value) {
    if (!std::isfinite(value) || value < INT16_MIN || value >= INT16_MAX + 1.0) {
        throw RuntimeError(kErrOverflow, "Overflow");
    }
    return static_cast<std::int16_t>(std::floor(value));
}

}  // namespace lumidot::int16
