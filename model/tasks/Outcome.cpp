#include "model/tasks/Outcome.h"

#include "engine/types/LowLevelFailure.h"
#include "engine/types/MatteError.h"
#include "engine/types/SentenceError.h"

namespace zephrin {

QString userMessage(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const UserFacingError& e) {
        return QString::fromUtf8(e.what());
    } catch (const std::exception& e) {
        // An engine let a low-level failure through: the user hears the render
        // sentence, the log keeps what it was.
        logLowLevelFailure("editor task", e, false);
    } catch (...) {
    }
    return QString::fromUtf8(sentence(MatteErrorKind::renderFailed));
}

} // namespace zephrin
