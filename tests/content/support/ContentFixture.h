#pragma once
// What the content tests share: a QGuiApplication, private folders for the
// served catalogue and the caches (the user's data folder and Trash point into
// them too), a loopback server over the served folder, and small writers for
// the files a catalogue holds.

#include "content/support/StaticHttpServer.h"
#include "content/support/Waiting.h"

#include <QByteArray>
#include <QColor>
#include <QJsonDocument>
#include <QSize>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace zephrin::testing {

class ContentFixture : public ::testing::Test {
protected:
    void SetUp() override;

    // A file below the served folder, e.g. served("zephrin/fonts/fonts.json").
    QString served(const QString& relative) const { return m_served.filePath(relative); }
    // A path in the private cache folder.
    QString cached(const QString& relative) const { return m_cache.filePath(relative); }
    StaticHttpServer& server() { return *m_server; }

    QTemporaryDir m_served;
    QTemporaryDir m_cache;
    std::unique_ptr<StaticHttpServer> m_server;
};

// Writes the bytes, making folders as needed; a failure fails the test.
void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);
QByteArray jsonBytes(const QJsonDocument& document);

// A picture of one colour with a darker diagonal, encoded as "PNG" or "JPEG".
QByteArray pictureBytes(QSize size, QColor color, const char* format);

} // namespace zephrin::testing
