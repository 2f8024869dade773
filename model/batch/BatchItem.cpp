#include "model/batch/BatchItem.h"

#include <QFileInfo>

namespace zephrin {

QString BatchItemStatus::name() const
{
    switch (kind) {
    case Kind::queued: return QStringLiteral("queued");
    case Kind::processing: return QStringLiteral("processing");
    case Kind::done: return QStringLiteral("done");
    case Kind::failed: return QStringLiteral("failed");
    }
    return QStringLiteral("queued");
}

QString BatchItem::fileName() const
{
    return QFileInfo(url.toLocalFile()).fileName();
}

QString BatchItem::baseName() const
{
    // Only the last extension goes: "a.final.jpeg" is "a.final".
    return QFileInfo(url.toLocalFile()).completeBaseName();
}

} // namespace zephrin
