#include "content/mybackgrounds/MyBackground.h"

#include "content/files/JsonFields.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace zephrin {

namespace {

// The epoch of "created": 1 January 2001, 00:00:00 UTC.
const QDateTime kReferenceDate(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);

double secondsSinceReference(const QDateTime& date)
{
    return static_cast<double>(kReferenceDate.msecsTo(date)) / 1000.0;
}

QDateTime dateFromReferenceSeconds(double seconds)
{
    return kReferenceDate.addMSecs(static_cast<qint64>(std::llround(seconds * 1000.0)));
}

size_t hashOptional(const std::optional<QString>& text, size_t seed)
{
    return text ? qHashMulti(seed, true, *text) : qHashMulti(seed, false);
}

// An optional text field: absent or null is none; present, it must be a string.
bool readOptional(const QJsonObject& object, QLatin1String key, std::optional<QString>& out)
{
    if (json::isAbsent(object, key))
        return true;
    out = json::string(object, key);
    return out.has_value();
}

std::optional<MyBackground> decodeRecord(const QJsonValue& value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject o = value.toObject();
    const auto id = json::string(o, QLatin1String("id"));
    const auto name = json::string(o, QLatin1String("name"));
    const auto source = json::string(o, QLatin1String("source"));
    const auto created = json::number(o, QLatin1String("created"));
    const auto favorite = json::boolean(o, QLatin1String("favorite"));
    const auto width = json::integer(o, QLatin1String("width"));
    const auto height = json::integer(o, QLatin1String("height"));
    const auto bytes = json::integer(o, QLatin1String("bytes"));
    if (!id || !name || !source || !created || !favorite || !width || !height || !bytes)
        return std::nullopt;
    // A date a thousand years beyond 2001 is no date this library wrote.
    if (!(std::abs(*created) < 3.2e10))
        return std::nullopt;
    MyBackground record{*id, *name, *source, dateFromReferenceSeconds(*created), *favorite,
                        *width, *height, *bytes, std::nullopt, std::nullopt, std::nullopt};
    if (!readOptional(o, QLatin1String("prompt"), record.prompt)
        || !readOptional(o, QLatin1String("provider"), record.provider)
        || !readOptional(o, QLatin1String("contentHash"), record.contentHash))
        return std::nullopt;
    return record;
}

} // namespace

size_t qHash(const MyBackground& r, size_t seed)
{
    seed = qHashMulti(seed, r.id, r.name, r.source, r.created, r.favorite, r.width, r.height, r.bytes);
    seed = hashOptional(r.prompt, seed);
    seed = hashOptional(r.provider, seed);
    return hashOptional(r.contentHash, seed);
}

QByteArray encodeLibrary(const QList<MyBackground>& records)
{
    QJsonArray array;
    for (const MyBackground& r : records) {
        QJsonObject o{
            {QStringLiteral("id"), r.id},
            {QStringLiteral("name"), r.name},
            {QStringLiteral("source"), r.source},
            {QStringLiteral("created"), secondsSinceReference(r.created)},
            {QStringLiteral("favorite"), r.favorite},
            {QStringLiteral("width"), r.width},
            {QStringLiteral("height"), r.height},
            {QStringLiteral("bytes"), r.bytes},
        };
        if (r.prompt)
            o.insert(QStringLiteral("prompt"), *r.prompt);
        if (r.provider)
            o.insert(QStringLiteral("provider"), *r.provider);
        if (r.contentHash)
            o.insert(QStringLiteral("contentHash"), *r.contentHash);
        array.append(o);
    }
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

std::optional<QList<MyBackground>> decodeLibrary(const QByteArray& data, qsizetype* skipped)
{
    const std::optional<QJsonDocument> document = json::parse(data);
    if (!document || !document->isArray())
        return std::nullopt;
    QList<MyBackground> records;
    qsizetype bad = 0;
    for (const QJsonValue element : document->array()) {
        if (std::optional<MyBackground> record = decodeRecord(element))
            records.append(std::move(*record));
        else
            ++bad;
    }
    if (skipped)
        *skipped = bad;
    return records;
}

QList<MyBackground> readableRecords(const QByteArray& data)
{
    if (std::optional<QList<MyBackground>> records = decodeLibrary(data))
        return *records;
    // Outside strings, each outermost pair of braces holds one record.
    QList<MyBackground> records;
    qsizetype start = -1;
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const char c = data[i];
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '{') {
            if (depth++ == 0)
                start = i;
        } else if (c == '}' && depth > 0 && --depth == 0) {
            const QJsonObject object = QJsonDocument::fromJson(data.mid(start, i - start + 1)).object();
            if (std::optional<MyBackground> record = decodeRecord(object))
                records.append(std::move(*record));
        }
    }
    return records;
}

} // namespace zephrin
