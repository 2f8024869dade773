#include "content/files/ImageCache.h"

namespace zephrin {

qint64 ImageCache::bytesOf(const Image& image) { return qint64(image.pixels.total() * image.pixels.elemSize()); }

std::optional<Image> ImageCache::find(const QString& id)
{
    const auto found = m_entries.find(id);
    if (found == m_entries.end())
        return std::nullopt;
    m_uses.splice(m_uses.end(), m_uses, found->use);
    return found->image;
}

void ImageCache::insert(const QString& id, const Image& image)
{
    remove(id);
    const qint64 size = bytesOf(image);
    if (size > m_maxBytes)
        return;
    while (m_bytes + size > m_maxBytes && !m_uses.empty())
        remove(QString(m_uses.front())); // a copy: the list entry goes
    m_entries.insert(id, Entry{image, m_uses.insert(m_uses.end(), id)});
    m_bytes += size;
}

void ImageCache::remove(const QString& id)
{
    const auto found = m_entries.find(id);
    if (found == m_entries.end())
        return;
    m_bytes -= bytesOf(found->image);
    m_uses.erase(found->use);
    m_entries.erase(found);
}

} // namespace zephrin
