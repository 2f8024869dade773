#include "output/vector/SvgNumber.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <string_view>

namespace zephrin {

namespace {

// Room for the longest fixed-point double: 309 integer digits, sign and point,
// and the decimals the callers ask for (at most a few).
using NumberBuffer = std::array<char, 340>;

std::string_view fixedText(NumberBuffer& buffer, double value, int decimals)
{
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed, decimals);
    return {buffer.data(), error == std::errc() ? static_cast<std::size_t>(end - buffer.data()) : 0};
}

} // namespace

void appendFixed(std::string& out, double value, int decimals)
{
    NumberBuffer buffer;
    out += fixedText(buffer, value, decimals);
}

void appendTrimmed(std::string& out, double value, int decimals)
{
    NumberBuffer buffer;
    std::string_view text = fixedText(buffer, value, decimals);
    if (text.find('.') != std::string_view::npos) {
        while (text.ends_with('0'))
            text.remove_suffix(1);
        if (text.ends_with('.'))
            text.remove_suffix(1);
    }
    out += text == "-0" ? "0" : text;
}

} // namespace zephrin
