#include "content/mybackgrounds/MyBackground.h"

#include "content/files/JsonFields.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

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

// Writes into `record` every field of `o` that holds a value of its kind and
// leaves the others as they are; true when every field a record needs is
// there and every field there is readable.
bool readFields(const QJsonObject& o, MyBackground& record)
{
    bool whole = true;
    const auto read = [&](const auto& value, auto& field) {
        if (value)
            field = *value;
        else
            whole = false;
    };
    read(json::string(o, QLatin1String("id")), record.id);
    read(json::string(o, QLatin1String("name")), record.name);
    read(json::string(o, QLatin1String("source")), record.source);
    // A date a thousand years beyond 2001 is no date this library wrote.
    std::optional<QDateTime> created;
    if (const auto seconds = json::number(o, QLatin1String("created")); seconds && std::abs(*seconds) < 3.2e10)
        created = dateFromReferenceSeconds(*seconds);
    read(created, record.created);
    read(json::boolean(o, QLatin1String("favorite")), record.favorite);
    read(json::integer(o, QLatin1String("width")), record.width);
    read(json::integer(o, QLatin1String("height")), record.height);
    read(json::integer(o, QLatin1String("bytes")), record.bytes);
    for (auto [key, field] : {std::pair{QLatin1String("prompt"), &record.prompt},
                              std::pair{QLatin1String("provider"), &record.provider},
                              std::pair{QLatin1String("contentHash"), &record.contentHash}}) {
        std::optional<QString> value = *field;
        if (readOptional(o, key, value))
            *field = value;
        else
            whole = false;
    }
    return whole;
}

std::optional<MyBackground> decodeRecord(const QJsonValue& value)
{
    MyBackground record;
    if (!value.isObject() || !readFields(value.toObject(), record))
        return std::nullopt;
    return record;
}

// A text as a JSON string literal, quotes and escapes included.
QByteArray jsonString(const QString& text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
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
    QByteArray out = "[";
    for (const MyBackground& r : records) {
        QJsonObject o{
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
        // Qt writes an object's keys in their own order; the id and the name
        // go ahead of them, so a file cut short still names its pictures.
        const QByteArray rest = QJsonDocument(o).toJson(QJsonDocument::Compact);
        if (out.size() > 1)
            out += ',';
        out += "{\"id\":" + jsonString(r.id) + ",\"name\":" + jsonString(r.name) + ',' + rest.mid(1);
    }
    return out + ']';
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

QList<QJsonObject> readableFields(const QByteArray& data)
{
    // One "key": value pair whose value is a whole string, number, true, false or null.
    static const QRegularExpression pair(QStringLiteral(
        R"pair("([A-Za-z]+)"\s*:\s*("(?:[^"\\\x00-\x1f]|\\.)*"|-?\d+(?:\.\d+)?(?:[eE][+-]?\d+)?|true|false|null))pair"));
    QList<QJsonObject> records;
    QJsonObject record;
    const auto close = [&] {
        if (json::string(record, QLatin1String("id")))
            records.append(record);
        record = QJsonObject();
    };
    const QString text = QString::fromUtf8(data);
    qsizetype end = 0;
    for (const QRegularExpressionMatch& match : pair.globalMatch(text)) {
        // A brace between two pairs, or a key met again, begins another record.
        const QStringView between = QStringView(text).mid(end, match.capturedStart() - end);
        end = match.capturedEnd();
        const QString key = match.captured(1);
        if (between.contains(u'{') || between.contains(u'}') || record.contains(key))
            close();
        const QJsonArray value = QJsonDocument::fromJson("[" + match.captured(2).toUtf8() + "]").array();
        if (!value.isEmpty())
            record.insert(key, value.first());
    }
    close();
    return records;
}

MyBackground withReadableFields(MyBackground record, const QJsonObject& fields)
{
    readFields(fields, record);
    return record;
}

} // namespace zephrin
