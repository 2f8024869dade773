#include "share/inbox/InboxName.h"

#include <QUuid>

namespace zephrin {

namespace {

constexpr qsizetype kPrefixLength = 3;  // "in-"
constexpr qsizetype kUuidLength = 36;   // 8-4-4-4-12 hex digits
constexpr qsizetype kLongestExtension = 16;

bool isHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

bool isAsciiAlphanumeric(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
}

bool isUuidText(QStringView text)
{
    if (text.size() != kUuidLength)
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool hyphenPlace = i == 8 || i == 13 || i == 18 || i == 23;
        if (hyphenPlace ? text[i] != u'-' : !isHexDigit(text[i]))
            return false;
    }
    return true;
}

} // namespace

QString makeInboxFileName(const QString& extension)
{
    const QString uuid = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    return QStringLiteral("in-") + uuid + u'.' + (extension.isEmpty() ? QStringLiteral("png") : extension);
}

bool isInboxFileName(QStringView name)
{
    if (!name.startsWith(u"in-") || name.size() < kPrefixLength + kUuidLength + 2)
        return false;
    if (!isUuidText(name.mid(kPrefixLength, kUuidLength)) || name[kPrefixLength + kUuidLength] != u'.')
        return false;
    const QStringView extension = name.mid(kPrefixLength + kUuidLength + 1);
    if (extension.isEmpty() || extension.size() > kLongestExtension)
        return false;
    for (QChar c : extension)
        if (!isAsciiAlphanumeric(c))
            return false;
    return true;
}

} // namespace zephrin
