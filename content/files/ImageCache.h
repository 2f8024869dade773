#pragma once
// Decoded pictures kept by id, bounded by the bytes of their pixels: adding a
// picture past the bound drops the least recently used ones first, and a
// picture larger than the whole bound is not kept at all. Not thread-safe: each
// store keeps its cache on the GUI thread.

#include "engine/pixel/Image.h"

#include <QHash>
#include <QString>

#include <list>
#include <optional>

namespace zephrin {

class ImageCache {
public:
    explicit ImageCache(qint64 maxBytes) : m_maxBytes(maxBytes) {}

    // The picture of `id`, which then counts as the most recently used.
    std::optional<Image> find(const QString& id);
    bool contains(const QString& id) const { return m_entries.contains(id); }

    void insert(const QString& id, const Image& image);
    void remove(const QString& id);

    qint64 bytes() const { return m_bytes; }
    qsizetype count() const { return m_entries.size(); }

private:
    struct Entry {
        Image image;
        std::list<QString>::iterator use;
    };

    static qint64 bytesOf(const Image& image);

    qint64 m_maxBytes;
    qint64 m_bytes = 0;
    QHash<QString, Entry> m_entries;
    std::list<QString> m_uses; // least recently used first
};

} // namespace zephrin
