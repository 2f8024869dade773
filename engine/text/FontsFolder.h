#pragma once

#include <QString>

namespace zephrin {

// The folder of downloaded fonts: "Zephrin/Fonts" in the user's data folder
// ($XDG_DATA_HOME, usually ~/.local/share), or in the temporary folder when
// there is no usable data folder. The font library fills it and creates it
// before its first write; this only names it.
QString fontsFolder();

} // namespace zephrin
