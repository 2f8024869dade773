#pragma once
// The program's one log category, "IS-Net", shared by the IS-Net runner, the
// matte pipeline and the refinement. Messages go out with qCInfo (the log's
// ordinary level, on by default); only the line about an empty network output
// uses qCCritical. Silence it with QT_LOGGING_RULES="IS-Net.info=false".

#include <QLoggingCategory>

namespace zephrin {

Q_DECLARE_LOGGING_CATEGORY(isnetLog)

} // namespace zephrin
