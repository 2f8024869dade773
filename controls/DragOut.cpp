#include "controls/DragOut.h"

#include "controls/DragOutFile.h"

#include <QDrag>
#include <QMimeData>
#include <QUrl>

namespace zephrin {

bool DragOutQml::start(QQuickItem* source, const QByteArray& png, const QString& fileName)
{
    const std::optional<QString> folder = dragFolder();
    const std::optional<QString> path = folder ? writeDragFile(*folder, png, fileName) : std::nullopt;
    if (!path || !source)
        return false;
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(*path)});
    data->setData(QStringLiteral("image/png"), png);
    auto* drag = new QDrag(source);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction);
    return true;
}

} // namespace zephrin
