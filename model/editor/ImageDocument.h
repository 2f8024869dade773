#pragma once
// One opened image: the picture upright, long edge at most 8192 px, and where it
// came from. Every load makes a new document with a new id, even of the same
// file.

#include "engine/types/ImageBox.h"
#include "engine/types/SentenceError.h"

#include <QUrl>
#include <QUuid>

#include <optional>

namespace zephrin {

struct ImageDocument {
    QUuid id;
    QUrl url;
    // The file name shown and exported under: the file's own, or the name a
    // hand-off gave it ("duck.png" for a shared copy in a private folder).
    QString name;
    ImageBox image;
    qint64 fileSize = 0;  // bytes on disk; 0 when the file system does not say

    int width() const { return image.image().width(); }
    int height() const { return image.image().height(); }

    // Reads the local file the URL names. `name`: the document's name, empty
    // for the file's own. Throws OpenFailure when it is not a readable image.
    // Blocking: call it off the GUI thread.
    static ImageDocument open(const QUrl& url, const QString& name = {});
    // The same, or none where open throws.
    static std::optional<ImageDocument> load(const QUrl& url, const QString& name = {});
};

// Why a file gave no document, as the import says it: "Couldn't open
// beach.png: the file doesn't exist." (missing, not a picture, too large,
// damaged, ...).
class OpenFailure final : public UserFacingError {
public:
    OpenFailure(const QString& name, const QString& reason);
    const char* what() const noexcept override { return m_text.constData(); }

private:
    QByteArray m_text;
};

} // namespace zephrin
