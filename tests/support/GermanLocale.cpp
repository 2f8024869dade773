#include "support/GermanLocale.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale>
#include <optional>
#include <stdexcept>

namespace zephrin::testing {

namespace {

struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

std::optional<std::locale> german()
{
    try {
        return std::locale("de_DE.UTF-8");
    } catch (const std::runtime_error&) {
    }
#ifdef ZEPHRIN_TEST_LOCALES
    setenv("LOCPATH", ZEPHRIN_TEST_LOCALES, 1);
    try {
        return std::locale("de_DE.UTF-8");
    } catch (const std::runtime_error&) {
    }
#endif
    return std::nullopt;
}

} // namespace

ScopedGermanLocale::ScopedGermanLocale()
{
    // A named locale set globally is set for C too (setlocale LC_ALL).
    if (const auto locale = german())
        std::locale::global(*locale);
    else
        std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
}

ScopedGermanLocale::~ScopedGermanLocale()
{
    std::locale::global(std::locale::classic());
}

bool ScopedGermanLocale::coversC() const
{
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", 0.5);
    return std::strcmp(text, "0,5") == 0;
}

} // namespace zephrin::testing
