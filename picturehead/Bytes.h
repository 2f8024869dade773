#pragma once
// Reads of fixed-size numbers from an image file's bytes that say when they
// would pass the end, for the checks and chunk walks that look into a file
// before (or beside) its library.

#include <QByteArrayView>

#include <cstring>
#include <optional>

namespace zephrin {

class Bytes {
public:
    explicit Bytes(QByteArrayView data) : m_data(data) {}

    qsizetype size() const { return m_data.size(); }
    bool has(qsizetype at, qsizetype count) const { return at >= 0 && count >= 0 && at <= size() - count; }
    bool startsWith(const char* text) const
    {
        const auto length = qsizetype(std::strlen(text));
        return has(0, length) && std::memcmp(m_data.data(), text, size_t(length)) == 0;
    }
    int byte(qsizetype at) const { return has(at, 1) ? quint8(m_data[at]) : -1; }
    std::optional<quint32> big16(qsizetype at) const { return number(at, 2, true); }
    std::optional<quint32> big32(qsizetype at) const { return number(at, 4, true); }
    std::optional<quint32> little16(qsizetype at) const { return number(at, 2, false); }
    std::optional<quint32> little24(qsizetype at) const { return number(at, 3, false); }
    std::optional<quint32> little32(qsizetype at) const { return number(at, 4, false); }
    std::optional<quint32> big(qsizetype at, int length) const { return number(at, length, true); }
    std::optional<quint32> little(qsizetype at, int length) const { return number(at, length, false); }
    // Whether the bytes at `at` spell `text`.
    bool is(qsizetype at, const char* text) const
    {
        const auto length = qsizetype(std::strlen(text));
        return has(at, length) && std::memcmp(m_data.data() + at, text, size_t(length)) == 0;
    }
    QByteArrayView view() const { return m_data; }

    std::optional<quint32> number(qsizetype at, int length, bool bigEndian) const
    {
        if (!has(at, length))
            return std::nullopt;
        quint32 value = 0;
        for (int i = 0; i < length; ++i)
            value = (value << 8) | quint8(m_data[at + (bigEndian ? i : length - 1 - i)]);
        return value;
    }

private:
    QByteArrayView m_data;
};

} // namespace zephrin
