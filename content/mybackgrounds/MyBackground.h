#pragma once
// One picture of My Backgrounds, as kept in memory and in "library.json".

#include <QByteArray>
#include <QDateTime>
#include <QHashFunctions>
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
// "provider" and "contentHash" when present.
QByteArray encodeLibrary(const QList<MyBackground>& records);

// None when the document is not such an array. A record that misses a key or
// has one of the wrong type is left out (one damaged record must not cost the
// others); `skipped`, when given, receives how many were.
std::optional<QList<MyBackground>> decodeLibrary(const QByteArray& json, qsizetype* skipped = nullptr);

// Every record that can still be read from a damaged library file: those of
// decodeLibrary when the file is an array, else each whole record object in
// its text (a file cut short keeps the records before the cut).
QList<MyBackground> readableRecords(const QByteArray& json);

} // namespace zephrin
