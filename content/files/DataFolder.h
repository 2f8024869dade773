#pragma once

#include <QString>

namespace zephrin {

// A folder of the application's own data: "Zephrin/<name>" in the user's data
// folder ($XDG_DATA_HOME, usually ~/.local/share), or in the temporary folder
// when there is no usable data folder. Only named here, not created.
QString applicationDataFolder(const QString& name);

} // namespace zephrin
