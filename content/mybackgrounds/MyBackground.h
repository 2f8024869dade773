#pragma once
// One picture of My Backgrounds, as kept in memory and in "library.json".

#include <QByteArray>
#include <QDateTime>
#include <QHashFunctions>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

namespace zephrin {

struct MyBackground {
    QString id;        // upper-case UUID; also the base name of its two files
    QString name;      // display name, editable
    QString source;    // "imported" or "saved"
    QDateTime created; // when it was added (UTC)
    bool favorite = false;
    qint64 width = 0;  // of the picture as it was added, before any reduction
    qint64 height = 0;
    qint64 bytes = 0;  // size of the stored JPEG; 0 when unknown
    std::optional<QString> prompt;    // text that produced the picture
    std::optional<QString> provider;  // who produced it
    // A fingerprint of the added picture's pixels, so that two different
    // pictures with one name and size are not taken as one. Absent in records
    // written before it existed; such a record is never a duplicate.
    std::optional<QString> contentHash;

    friend bool operator==(const MyBackground&, const MyBackground&) = default;
};

size_t qHash(const MyBackground& record, size_t seed = 0);

// "library.json": a JSON array of records in list order. Each record is an
// object with "id", "name", "source", "created" (seconds since 1 January 2001
// 00:00:00 UTC), "favorite", "width", "height", "bytes", and "prompt",
// "provider" and "contentHash" when present. Each record begins with its id
// and name, so a file cut short still names as many pictures as it can.
QByteArray encodeLibrary(const QList<MyBackground>& records);

// None when the document is not such an array. A record that misses a key or
// has one of the wrong type is left out (one damaged record must not cost the
// others); `skipped`, when given, receives how many were.
std::optional<QList<MyBackground>> decodeLibrary(const QByteArray& json, qsizetype* skipped = nullptr);

// What a damaged library file still says, record by record, in file order:
// for each record whose "id" is a whole string, an object of its fields whose
// values are whole (a value cut short or garbled is left out). Read from the
// text alone, so a file cut anywhere or with garbage inside still gives what
// lies around the damage.
QList<QJsonObject> readableFields(const QByteArray& json);

// `record` with every field of `fields` that holds a value of its kind put in
// (a "created" a thousand years off is none); the others stay as they were.
MyBackground withReadableFields(MyBackground record, const QJsonObject& fields);

} // namespace zephrin
