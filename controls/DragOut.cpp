#include "controls/DragOut.h"

#include "controls/DragOutFile.h"

#include <QDrag>
#include <QMimeData>
#include <QUrl>
#include <QUuid>

namespace zephrin {

namespace {

// Names this process; made once.
const QString& processMark()
{
    static const QString mark = QUuid::createUuid().toString(QUuid::WithoutBraces);
    return mark;
}

} // namespace

QString DragOutQml::sourceFormat()
{
    return QStringLiteral("application/x-zephrin-drag-source");
}

bool DragOutQml::startedHere(const QString& mark)
{
    return mark == processMark();
}

QMimeData* DragOutQml::mimeData(const QByteArray& png, const std::optional<QString>& file)
{
    auto* data = new QMimeData;
    if (file)
        data->setUrls({QUrl::fromLocalFile(*file)});
    data->setData(QStringLiteral("image/png"), png);
    data->setData(sourceFormat(), processMark().toUtf8());
    return data;
}

std::optional<QString> DragOutQml::writeFile(const QByteArray& png, const QString& fileName)
{
    const std::optional<QString> folder = dragFolder();
    return folder ? writeDragFile(*folder, png, fileName) : std::nullopt;
}

bool DragOutQml::start(QQuickItem* source, const QByteArray& png, const std::optional<QString>& file)
{
    if (!source || png.isEmpty())
        return false;
    auto* drag = new QDrag(source);
    drag->setMimeData(mimeData(png, file));
    drag->exec(Qt::CopyAction);
    return true;
}

} // namespace zephrin
