#include "model/tasks/Outcome.h"

#include "engine/codec/WebPEncoder.h"
#include "engine/isnet/CoreMLMatte.h"
#include "engine/types/MatteError.h"
#include "output/service/CutoutService.h"

namespace zephrin {

QString userMessage(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const MatteError& e) {
        return QString::fromUtf8(e.what());
    } catch (const CoreMLMatte::Failure& e) {
        return QString::fromUtf8(e.what());
    } catch (const WebPEncoder::EncodeError& e) {
        return QString::fromUtf8(e.what());
    } catch (const CutoutService::Failure& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QString::fromUtf8(sentence(MatteErrorKind::renderFailed));
    }
}

} // namespace zephrin
