#pragma once
// Numbers as SVG files write them: fixed-point text made with std::to_chars,
// which rounds the exact binary value as printf does and never consults the
// locale.

#include <string>

namespace zephrin {

// printf's "%.<decimals>f": 2.0000, -0.5000.
void appendFixed(std::string& out, double value, int decimals);

// The same, then trailing zeros and a bare decimal point removed, and "-0"
// (from a value that rounds to zero from below) written "0": 8.5, 11, 0.
void appendTrimmed(std::string& out, double value, int decimals);

} // namespace zephrin
