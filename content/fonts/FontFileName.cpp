#include "content/fonts/FontFileName.h"

#include <fontconfig/fontconfig.h>

#include <QFile>

#include <memory>

namespace zephrin {

std::optional<QString> postScriptNameOfFontFile(const QString& path)
{
    const QByteArray file = QFile::encodeName(path);
    int faces = 0;
    const std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(
        FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(file.constData()), 0, nullptr, &faces),
        &FcPatternDestroy);
    if (!pattern)
        return std::nullopt;
    FcChar8* name = nullptr;
    if (FcPatternGetString(pattern.get(), FC_POSTSCRIPT_NAME, 0, &name) != FcResultMatch || name == nullptr)
        return std::nullopt;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(name));
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

} // namespace zephrin
