#pragma once
// The cutout engine: finds, refines, composites and encodes. It holds nothing
// but its rendering context and keeps nothing between calls, so one engine may
// serve several background tasks at once. The editor owns one, the batch model
// another, and each automation request makes its own.

#include "engine/pixel/RenderContext.h"

namespace zephrin {

class MatteEngine final {
public:
    MatteEngine();
    MatteEngine(const MatteEngine&) = delete;
    MatteEngine& operator=(const MatteEngine&) = delete;

    // The context every engine of this kind renders through: named "Zephrin",
    // intermediate caching off.
    static RenderContext makeContext();

    const RenderContext& context() const { return m_context; }

private:
    const RenderContext m_context;
};

} // namespace zephrin
