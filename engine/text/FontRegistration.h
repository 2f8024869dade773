#pragma once
// Registers the font files of one folder with the process's font database, once
// for the life of this object. The text renderer keeps one for the fonts folder
// (TextRenderer::registerDownloadedFonts); fonts downloaded after that first pass
// are registered by the font library itself.
//
// Registration goes through QFontDatabase::addApplicationFont, which needs the
// QGuiApplication: called before it exists, registerOnce() does nothing and
// leaves the pass for a later call. The registered faces land in the current
// fontconfig configuration too, where FontResolver finds them by name.

#include <QString>

#include <mutex>

namespace zephrin {

class FontRegistration {
public:
    explicit FontRegistration(QString folder) : m_folder(std::move(folder)) {}
    FontRegistration(const FontRegistration&) = delete;
    FontRegistration& operator=(const FontRegistration&) = delete;

    // The first call registers every file below the folder, at any depth, whose
    // extension is "ttf" or "otf" in any letter case; files that fail to register
    // are skipped. The pass is marked done before the folder is read, so a missing
    // or empty folder is not looked at again. Later calls return at once; a caller
    // that arrives during the pass waits for it to finish. Thread-safe.
    void registerOnce();

private:
    const QString m_folder;
    std::mutex m_mutex;
    bool m_done = false;
};

} // namespace zephrin
