// Runs the Qt Quick tests of the main window (tst_*.qml in the folder given
// with -input) offscreen, against a real EditorState over scripted engines
// and a task runner that moves only when told, registered as the application
// registers it. The singleton Driver (module Zephrin.TestSupport) opens
// pictures, settles the editor's work and says how long real work may take.

#include "ManualTaskRunner.h"
#include "RecordingClipboard.h"
#include "ScriptedEngines.h"
#include "app/shell/ShellObjects.h"
#include "controls/DragOut.h"
#include "pickers/support/BackdropTestStores.h"
#include "app/support/SceneGraphTextures.h"
#include "support/Patience.h"
#include "model/editor/EditorState.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <QMimeData>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QQuickStyle>
#include <QTemporaryDir>
#include <QtQml/qqmlextensionplugin.h>
#include <QtQuickTest>

Q_IMPORT_QML_PLUGIN(Zephrin_ControlsPlugin)
Q_IMPORT_QML_PLUGIN(Zephrin_PickersPlugin)
Q_IMPORT_QML_PLUGIN(Zephrin_InspectorPlugin)
Q_IMPORT_QML_PLUGIN(Zephrin_CanvasPlugin)
Q_IMPORT_QML_PLUGIN(Zephrin_AppPlugin)

class Driver : public QObject {
    Q_OBJECT
    // How long a wait on real work may take, in milliseconds (support/Patience.h):
    // the stores' decodes, renders and loopback transfers, real timers.
    Q_PROPERTY(int patience READ patience CONSTANT)

public:
    Driver(zephrin::EditorState& editor, zephrin::testing::ManualTaskRunner& runner, QString folder)
        : m_editor(editor), m_runner(runner), m_folder(std::move(folder))
    {
    }

    // Opens a width × height picture (white, a red block in the middle) as the
    // document and runs everything that follows: the cutout and its render.
    Q_INVOKABLE void openPicture(int width, int height)
    {
        QImage picture(width, height, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter(&picture).fillRect(width / 4, height / 4, width / 2, height / 2, Qt::red);
        const QString path = m_folder + QStringLiteral("/picture-%1.png").arg(++m_count);
        picture.save(path, "PNG");
        m_editor.importImage(QUrl::fromLocalFile(path));
        m_runner.settle();
    }
    int patience() const { return zephrin::testing::kPatienceMs; }
    Q_INVOKABLE void settle() { m_runner.settle(); }
    // Runs waiting jobs without moving the clock (a notice stays up).
    Q_INVOKABLE void runJobs() { m_runner.runAll(); }
    // Moves the clock on by `ms` milliseconds.
    Q_INVOKABLE void advance(int ms) { m_runner.advance(std::chrono::milliseconds(ms)); }
    // What the window asked the file manager to show, oldest first.
    Q_INVOKABLE QStringList revealed() const { return m_revealed; }
    // The window that takes the keys (a window counts as active while its
    // transient parent has them, so `active` does not say).
    Q_INVOKABLE QObject* focusWindow() const { return QGuiApplication::focusWindow(); }
    // False: no file manager answers (as under a bare X server).
    Q_INVOKABLE void setFileManager(bool present) { m_fileManager = present; }
    zephrin::FileReveal recordingReveal()
    {
        zephrin::FileReveal reveal;
        reveal.showItems = [this](const QStringList& uris, std::function<void(bool)> done) {
            m_revealed << uris;
            done(m_fileManager);
        };
        reveal.openUrl = [this](const QUrl& url, std::function<void(bool)> done) {
            m_revealed << url.toString();
            done(m_fileManager);
        };
        return reveal;
    }
    // Runs the oldest waiting job and what it hands back; false when none waits.
    Q_INVOKABLE bool runJob() { return m_runner.runJob(); }
    Q_INVOKABLE int pendingJobs() const { return int(m_runner.pendingJobs()); }
    // Writes a width × height picture (as openPicture's) without opening it.
    Q_INVOKABLE QUrl writePicture(const QString& name, int width, int height)
    {
        QImage picture(width, height, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter(&picture).fillRect(width / 4, height / 4, width / 2, height / 2, Qt::red);
        const QString path = m_folder + u'/' + name;
        picture.save(path, "PNG");
        return QUrl::fromLocalFile(path);
    }
    // Writes a file of text (an image's name on something that is none).
    Q_INVOKABLE QUrl writeText(const QString& name, const QString& text)
    {
        QFile file(m_folder + u'/' + name);
        if (file.open(QIODevice::WriteOnly))
            file.write(text.toUtf8());
        return QUrl::fromLocalFile(file.fileName());
    }
    // A file's size in bytes; -1 when there is none.
    Q_INVOKABLE double fileSize(const QUrl& file) const
    {
        const QFileInfo info(file.toLocalFile());
        return info.isFile() ? double(info.size()) : -1;
    }
    Q_INVOKABLE QUrl fileInFolder(const QString& name) const { return QUrl::fromLocalFile(m_folder + u'/' + name); }
    // Writes `text` into the test's data folder ($XDG_DATA_HOME) at `relative`,
    // making folders as needed: files the stores read from disk.
    Q_INVOKABLE bool writeDataFile(const QString& relative, const QString& text) const
    {
        const QString path = m_folder + QStringLiteral("/data/") + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0;
    }
    // Drags the files over `item` and drops them at (x, y), with the events
    // the window gets from a drag of another application, or, with
    // `fromHere`, from this window's own drag out (its data, marked as ours).
    Q_INVOKABLE void dropFiles(QQuickItem* item, double x, double y, const QList<QUrl>& files, bool fromHere)
    {
        QQuickWindow* window = item ? item->window() : nullptr;
        if (!window || files.isEmpty())
            return;
        std::unique_ptr<QMimeData> data(fromHere ? zephrin::DragOutQml::mimeData("png", files.first().toLocalFile())
                                                 : new QMimeData);
        data->setUrls(files);
        const QPointF at = item->mapToScene(QPointF(x, y));
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &enter);
        QDragMoveEvent move(at.toPoint(), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &move);
        QDropEvent drop(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &drop);
    }
    // The pointer leaves the window (as the window hears of it, with no
    // move outside first).
    Q_INVOKABLE void leaveWindow(QQuickWindow* window)
    {
        QEvent leave(QEvent::Leave);
        if (window)
            QCoreApplication::sendEvent(window, &leave);
    }
    // Writes a font preview as the content catalogue makes them, the text in
    // dark ink on transparency, into the data folder at `relative`.
    Q_INVOKABLE bool writeFontPreview(const QString& relative, const QString& text) const
    {
        const QString path = m_folder + QStringLiteral("/data/") + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QImage preview(280, 60, QImage::Format_ARGB32_Premultiplied);
        preview.fill(Qt::transparent);
        QPainter painter(&preview);
        QFont font;
        font.setPixelSize(40);
        painter.setFont(font);
        painter.setPen(QColor(26, 26, 31));
        painter.drawText(preview.rect().adjusted(10, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
        painter.end();
        return preview.save(path, "PNG");
    }
    // Starts the work of an import without running it (the editor is busy).
    Q_INVOKABLE void startImport(int width, int height)
    {
        QImage picture(width, height, QImage::Format_RGB32);
        picture.fill(Qt::white);
        const QString path = m_folder + QStringLiteral("/pending-%1.png").arg(++m_count);
        picture.save(path, "PNG");
        m_editor.importImage(QUrl::fromLocalFile(path));
    }

private:
    zephrin::EditorState& m_editor;
    zephrin::testing::ManualTaskRunner& m_runner;
    QString m_folder;
    int m_count = 0;
    QStringList m_revealed;
    bool m_fileManager = true;
};

class WindowTestSetup : public QObject {
    Q_OBJECT

public slots:
    void applicationAvailable()
    {
        QQuickStyle::setStyle(QStringLiteral("Basic"));
        m_folder = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", m_folder->filePath(QStringLiteral("data")).toUtf8());
        // The stores' settings stay in the test's folder, and their content
        // server is a loopback port where nothing listens.
        qputenv("XDG_CONFIG_HOME", m_folder->filePath(QStringLiteral("config")).toUtf8());
        qputenv("ZEPHRIN_CONTENT_URL", "http://127.0.0.1:9");
        zephrin::EditorServices services;
        services.engines = std::make_shared<zephrin::testing::ScriptedEngines>();
        services.runner = m_runner;
        services.clipboard = std::make_shared<zephrin::testing::RecordingClipboard>();
        services.settingsFile = m_folder->filePath(QStringLiteral("settings.ini"));
        services.shareFolder = m_folder->filePath(QStringLiteral("share"));
        m_editor = std::make_unique<zephrin::EditorState>(services);
        m_shell = std::make_unique<zephrin::ShellObjects>(*m_editor, services.settingsFile, true);
        m_shell->registerForQml();
        m_driver = std::make_unique<Driver>(*m_editor, *m_runner, m_folder->path());
        m_shell->commands.setFileReveal(m_driver->recordingReveal());
        qmlRegisterSingletonInstance("Zephrin.TestSupport", 1, 0, "Driver", m_driver.get());
        m_backdrops = std::make_unique<zephrin::testing::BackdropTestStores>();
        m_backdrops->registerForQml();
    }

    void qmlEngineAvailable(QQmlEngine* engine)
    {
        engine->addImportPath(QStringLiteral("qrc:/"));
        m_backdrops->stores().addImageProviders(*engine);
    }

    void cleanupTestCase()
    {
        m_driver.reset();
        m_shell.reset();
        m_editor.reset();
        zephrin::testing::freeTexturesOfClosedWindows();
    }

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    std::shared_ptr<zephrin::testing::ManualTaskRunner> m_runner =
        std::make_shared<zephrin::testing::ManualTaskRunner>();
    std::unique_ptr<Driver> m_driver;
    std::unique_ptr<zephrin::EditorState> m_editor;
    std::unique_ptr<zephrin::ShellObjects> m_shell;
    std::unique_ptr<zephrin::testing::BackdropTestStores> m_backdrops;
};

QUICK_TEST_MAIN_WITH_SETUP(window, WindowTestSetup)

#include "WindowTestMain.moc"
