#pragma once

#include <QString>

#include <optional>

namespace zephrin {

// The PostScript name of the first face in a font file, as fontconfig reads it
// from the file itself; none when the file is missing, not a font, or damaged.
// Thread-safe.
std::optional<QString> postScriptNameOfFontFile(const QString& path);

} // namespace zephrin
