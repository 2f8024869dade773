#include "app/shell/AppSettings.h"

#include "engine/types/ExportFormat.h"
#include "output/presets/ListingPresetSettings.h"

#include <QFile>
#include <QStringDecoder>

namespace zephrin {

namespace {

const QString kAutoSubject = QStringLiteral("autoSubjectOnImport");
const QString kFormat = QStringLiteral("defaultExportFormat");
const QString kLongEdge = QStringLiteral("defaultLongEdge");
const QString kLastFolder = QStringLiteral("lastFolder");

} // namespace

AppSettings::AppSettings(const QString& settingsFile, bool isnetAvailable, QObject* parent)
    : QObject(parent),
      m_settings(settingsFile.isEmpty() ? std::make_unique<QSettings>(QStringLiteral("Zephrin"), QStringLiteral("Zephrin"))
                                        : std::make_unique<QSettings>(settingsFile, QSettings::IniFormat)),
      m_isnetAvailable(isnetAvailable)
{
}

bool AppSettings::autoSubjectOnImport() const
{
    return m_settings->value(kAutoSubject, true).toBool();
}

bool AppSettings::store(const QString& key, const QVariant& value)
{
    // A key is written once the user chooses, even the value shown by default;
    // the file holds text, so values compare as text.
    if (m_settings->contains(key) && m_settings->value(key).toString() == value.toString())
        return false;
    m_settings->setValue(key, value);
    return true;
}

void AppSettings::setAutoSubjectOnImport(bool value)
{
    if (store(kAutoSubject, value))
        emit autoSubjectOnImportChanged();
}

ExportFormat AppSettings::exportFormatDefault() const
{
    return fromRaw<ExportFormat>(m_settings->value(kFormat).toString()).value_or(kPlainExport.format);
}

int AppSettings::longEdgeDefault() const
{
    // Read as text: QVariant's own conversion wraps a number out of range.
    bool number = false;
    const int value = m_settings->value(kLongEdge).toString().toInt(&number);
    return number && value > 0 ? value : kPlainExport.longEdge;
}

QString AppSettings::defaultExportFormat() const
{
    return rawValue(exportFormatDefault());
}

void AppSettings::setDefaultExportFormat(const QString& value)
{
    if (!fromRaw<ExportFormat>(value))
        return;
    if (store(kFormat, value))
        emit defaultExportFormatChanged();
}

void AppSettings::setDefaultLongEdge(int value)
{
    if (value <= 0)
        return;
    if (store(kLongEdge, value))
        emit defaultLongEdgeChanged();
}

QString AppSettings::lastFolder() const
{
    return m_settings->value(kLastFolder).toString();
}

void AppSettings::setLastFolder(const QString& folder)
{
    if (folder != lastFolder())
        m_settings->setValue(kLastFolder, folder);
}

QStringList AppSettings::formatChoices() const
{
    QStringList labels;
    for (ExportFormat format : allCases<ExportFormat>())
        labels << rawValue(format);
    return labels;
}

QVariantList AppSettings::longEdgeChoices() const
{
    return {1200, 1500, 2000, 2400, 3000, 4000};
}

QString AppSettings::isnetCredit() const
{
    return QStringLiteral("IS-Net (DIS) by Xuebin Qin et al., Apache License 2.0");
}

QString AppSettings::resourceText(const QString& name)
{
    QFile file(QStringLiteral(":/zephrin/") + name + QStringLiteral(".txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(file.readAll());
    return decoder.hasError() ? QString() : text;
}

QString AppSettings::isnetNotice() const
{
    const QString notice = resourceText(QStringLiteral("ISNet-NOTICE"));
    return notice.isEmpty() ? QStringLiteral("IS-Net from the DIS project (Apache-2.0).") : notice;
}

QString AppSettings::isnetLicense() const
{
    return resourceText(QStringLiteral("ISNet-LICENSE"));
}

} // namespace zephrin
