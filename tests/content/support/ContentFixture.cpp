#include "content/support/ContentFixture.h"

#include "support/GuiApplication.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

namespace zephrin::testing {

void ContentFixture::SetUp()
{
    ensureGuiApplication();
    ASSERT_TRUE(m_served.isValid() && m_cache.isValid());
    // The Trash and the data folder of a run must not be the user's.
    const QString dataHome = m_cache.filePath(QStringLiteral("xdg-data"));
    QDir().mkpath(dataHome);
    qputenv("XDG_DATA_HOME", dataHome.toUtf8());
    m_server = std::make_unique<StaticHttpServer>(m_served.path());
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray jsonBytes(const QJsonDocument& document)
{
    return document.toJson(QJsonDocument::Compact);
}

QByteArray pictureBytes(QSize size, QColor color, const char* format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    QPainter painter(&image);
    painter.setPen(QPen(color.darker(), 3));
    painter.drawLine(0, 0, size.width(), size.height());
    painter.end();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return buffer.data();
}

} // namespace zephrin::testing
