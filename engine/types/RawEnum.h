#pragma once
// Enumerations whose cases carry a text raw value: their display label, which is
// also the form stored in settings and documents. Each such enumeration E
// declares beside itself one table, in picker order,
//
//     constexpr RawValues<E, 3> rawValues(E) { return {{{E::a, u"A"}, ...}}; }
//
// and gets from this header the same three operations as every other one:
// rawValue(E), fromRaw<E>(text) and allCases<E>(). The raw value is also the
// identity a list view keys its rows by.

#include <QString>
#include <QStringView>

#include <array>
#include <cstddef>
#include <optional>
#include <type_traits>
#include <utility>

namespace zephrin {

template <typename E, std::size_t N>
using RawValues = std::array<std::pair<E, QStringView>, N>;

template <typename E>
concept RawEnum = std::is_enum_v<E> && requires(E e) { rawValues(e); };

// The raw value of a case; empty for a value outside the declared cases.
template <RawEnum E>
QString rawValue(E value)
{
    for (const auto& [candidate, raw] : rawValues(value))
        if (candidate == value)
            return raw.toString();
    return {};
}

// The case whose raw value is exactly `raw` (case-sensitive); none otherwise.
template <RawEnum E>
std::optional<E> fromRaw(QStringView raw)
{
    for (const auto& [candidate, text] : rawValues(E{}))
        if (text == raw)
            return candidate;
    return std::nullopt;
}

// Every case, in picker order.
template <RawEnum E>
constexpr auto allCases()
{
    constexpr auto table = rawValues(E{});
    std::array<E, table.size()> cases{};
    for (std::size_t i = 0; i < table.size(); ++i)
        cases[i] = table[i].first;
    return cases;
}

} // namespace zephrin
