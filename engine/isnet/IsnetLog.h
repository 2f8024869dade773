#pragma once
// The program's log category "IS-Net", shared by the IS-Net runner, the matte
// pipeline and the refinement. Its diagnostics (what was loaded, the statistics
// of each prediction, the pipeline's decisions) go out with qCInfo and are
// silent unless asked for, so that a command's standard error carries only its
// own sentence: QT_LOGGING_RULES="IS-Net.info=true" shows them. Warnings (a
// model file the runtime refuses) and the critical line about an empty network
// output always show.

#include <QLoggingCategory>

namespace zephrin {

Q_DECLARE_LOGGING_CATEGORY(isnetLog)

} // namespace zephrin
