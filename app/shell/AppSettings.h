#pragma once
// The settings window's preferences, stored in the user's settings: whether
// Auto Subject runs on import, and the stored export defaults. A key is written
// only when the user changes its control; until then the default is shown and
// the key stays absent. The export defaults are where the export sheet and the
// batch start (see ShellObjects), and the window shows them as they are used:
// a damaged stored value (no format, a long edge that is no positive number)
// is kept, but the plain export's stands in for it. Also the folder the file
// dialogs last chose from, and the acknowledgements' texts, read from the
// application's resources.

#include "engine/types/ExportFormat.h"

#include <QObject>
#include <QSettings>
#include <QStringList>
#include <QVariantList>

#include <memory>

namespace zephrin {

class AppSettings : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool autoSubjectOnImport READ autoSubjectOnImport WRITE setAutoSubjectOnImport NOTIFY autoSubjectOnImportChanged)
    Q_PROPERTY(QString defaultExportFormat READ defaultExportFormat WRITE setDefaultExportFormat NOTIFY defaultExportFormatChanged)
    Q_PROPERTY(int defaultLongEdge READ defaultLongEdge WRITE setDefaultLongEdge NOTIFY defaultLongEdgeChanged)
    Q_PROPERTY(QStringList formatChoices READ formatChoices CONSTANT)
    Q_PROPERTY(QVariantList longEdgeChoices READ longEdgeChoices CONSTANT)
    Q_PROPERTY(bool isnetAvailable READ isnetAvailable CONSTANT)
    Q_PROPERTY(QString isnetCredit READ isnetCredit CONSTANT)

public:
    // `settingsFile`: an INI file; empty for the user's settings of
    // organisation "Zephrin", application "Zephrin" (the editor's too).
    explicit AppSettings(const QString& settingsFile, bool isnetAvailable, QObject* parent = nullptr);

    bool autoSubjectOnImport() const;
    void setAutoSubjectOnImport(bool value);
    // The defaults as the export sheet and the batch take them.
    ExportFormat exportFormatDefault() const;
    int longEdgeDefault() const;
    // The same for QML: the format's label, the long edge in pixels. A text
    // that is no format, or a long edge that is not positive, is not stored.
    QString defaultExportFormat() const;
    void setDefaultExportFormat(const QString& value);
    int defaultLongEdge() const { return longEdgeDefault(); }
    void setDefaultLongEdge(int value);

    // The folder of the last file or folder a dialog chose; empty: none yet.
    QString lastFolder() const;
    void setLastFolder(const QString& folder);

    QStringList formatChoices() const;
    QVariantList longEdgeChoices() const;

    bool isnetAvailable() const { return m_isnetAvailable; }
    QString isnetCredit() const;
    // The model's notice, or its one-line fallback; the licence, or empty.
    // Read anew on every call.
    Q_INVOKABLE QString isnetNotice() const;
    Q_INVOKABLE QString isnetLicense() const;

    // A text resource ("ISNet-NOTICE" → :/zephrin/ISNet-NOTICE.txt) as UTF-8;
    // empty when it is missing or not UTF-8.
    static QString resourceText(const QString& name);

signals:
    void autoSubjectOnImportChanged();
    void defaultExportFormatChanged();
    void defaultLongEdgeChanged();

private:
    // Writes `value` under `key` unless the key is stored with that value
    // already; true when it wrote.
    bool store(const QString& key, const QVariant& value);

    std::unique_ptr<QSettings> m_settings;
    bool m_isnetAvailable = false;
};

} // namespace zephrin
