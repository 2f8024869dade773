#include "engine/isnet/IsnetLog.h"

namespace zephrin {

Q_LOGGING_CATEGORY(isnetLog, "IS-Net", QtWarningMsg)

} // namespace zephrin
