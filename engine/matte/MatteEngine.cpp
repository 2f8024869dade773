#include "engine/matte/MatteEngine.h"

namespace zephrin {

MatteEngine::MatteEngine() : m_context(makeContext()) {}

RenderContext MatteEngine::makeContext()
{
    return RenderContext(RenderContextOptions{QStringLiteral("Zephrin"), false});
}

} // namespace zephrin
