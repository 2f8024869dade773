#include "engine/pixel/PixelBuffer.h"

#include "engine/pixel/ExtentLimits.h"
#include "engine/threads/PagePopulate.h"

#include <sys/mman.h>

#include <algorithm>
#include <deque>
#include <mutex>
#include <new>

namespace zephrin {

namespace {

constexpr std::size_t kPage = 4096;
// A released buffer serves a request this much smaller than itself, and more
// when it is large: a crop or a trimmed canvas a little smaller than the last.
constexpr std::size_t kSlack = std::size_t(2) << 20;

// One mapping of `capacity` bytes (whole pages), mapped in on every core: its
// writer may be a single thread.
struct Mapping {
    uchar* data = nullptr;
    std::size_t capacity = 0;
};

Mapping* mapped(std::size_t bytes)
{
    const std::size_t capacity = (bytes + kPage - 1) / kPage * kPage;
    void* data = mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (data == MAP_FAILED)
        throw std::bad_alloc();
    populatePages(static_cast<uchar*>(data), capacity);
    return new Mapping{static_cast<uchar*>(data), capacity};
}

void unmapped(Mapping* mapping)
{
    munmap(mapping->data, mapping->capacity);
    delete mapping;
}

bool fits(const Mapping& mapping, std::size_t bytes)
{
    return mapping.capacity >= bytes && mapping.capacity - bytes <= bytes / 4 + kSlack;
}

class PixelBufferPool final : public cv::MatAllocator {
public:
    cv::UMatData* allocate(int dims, const int* sizes, int type, void* data, size_t* step, cv::AccessFlag flags,
                           cv::UMatUsageFlags usage) const override
    {
        std::size_t total = CV_ELEM_SIZE(type);
        for (int i = dims - 1; i >= 0; --i)
            total *= std::size_t(sizes[i]);
        if (data || total < kPooledFromBytes)
            return cv::Mat::getStdAllocator()->allocate(dims, sizes, type, data, step, flags, usage);
        if (step) {
            std::size_t rowBytes = CV_ELEM_SIZE(type);
            for (int i = dims - 1; i >= 0; --i) {
                step[i] = rowBytes;
                rowBytes *= std::size_t(sizes[i]);
            }
        }
        Mapping* mapping = taken(total);
        if (!mapping)
            mapping = mapped(total);
        auto* u = new cv::UMatData(this);
        u->data = u->origdata = mapping->data;
        u->size = total;
        u->userdata = mapping;
        return u;
    }

    bool allocate(cv::UMatData* u, cv::AccessFlag, cv::UMatUsageFlags) const override { return u != nullptr; }

    void deallocate(cv::UMatData* u) const override
    {
        if (!u)
            return;
        CV_Assert(u->urefcount == 0 && u->refcount == 0);
        auto* mapping = static_cast<Mapping*>(u->userdata);
        delete u;
        if (mapping)
            released(mapping);
    }

    PixelPoolState state() const
    {
        const std::lock_guard lock(m_mutex);
        return {m_idle.size(), m_idleBytes};
    }

    void releaseIdle() const
    {
        std::deque<Mapping*> idle;
        {
            const std::lock_guard lock(m_mutex);
            idle.swap(m_idle);
            m_idleBytes = 0;
        }
        for (Mapping* mapping : idle)
            unmapped(mapping);
    }

private:
    // The smallest idle mapping that fits, taken out of the pool.
    Mapping* taken(std::size_t bytes) const
    {
        const std::lock_guard lock(m_mutex);
        auto best = m_idle.end();
        for (auto it = m_idle.begin(); it != m_idle.end(); ++it)
            if (fits(**it, bytes) && (best == m_idle.end() || (*it)->capacity < (*best)->capacity))
                best = it;
        if (best == m_idle.end())
            return nullptr;
        Mapping* mapping = *best;
        m_idle.erase(best);
        m_idleBytes -= mapping->capacity;
        return mapping;
    }

    // Kept for the next request, the oldest idle mappings given back to the
    // system while the idle ones hold more than the pool may.
    void released(Mapping* mapping) const
    {
        std::vector<Mapping*> surplus;
        {
            const std::lock_guard lock(m_mutex);
            m_idle.push_back(mapping);
            m_idleBytes += mapping->capacity;
            while (m_idleBytes > kIdlePixelBytes) {
                surplus.push_back(m_idle.front());
                m_idleBytes -= m_idle.front()->capacity;
                m_idle.pop_front();
            }
        }
        for (Mapping* old : surplus)
            unmapped(old);
    }

    mutable std::mutex m_mutex;
    mutable std::deque<Mapping*> m_idle;  // oldest first
    mutable std::size_t m_idleBytes = 0;
};

PixelBufferPool& pool()
{
    // Never destroyed: buffers may be released during static destruction.
    static auto* const instance = new PixelBufferPool;
    return *instance;
}

} // namespace

cv::MatAllocator* pixelBufferAllocator()
{
#if defined(__SANITIZE_ADDRESS__)
    return cv::Mat::getStdAllocator();
#else
    return &pool();
#endif
}

cv::Mat newPixelBuffer(cv::Size size, int type)
{
    checkedExtent(cv::Rect({}, size));
    cv::Mat buffer;
    buffer.allocator = pixelBufferAllocator();
    buffer.create(size, type);
    return buffer;
}

PixelPoolState pixelPoolState() { return pool().state(); }

void releaseIdlePixelBuffers() { pool().releaseIdle(); }

} // namespace zephrin
