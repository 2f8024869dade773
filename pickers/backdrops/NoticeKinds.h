#pragma once
// For QML: whether a My Backgrounds notice reports success or a failure
// (BackdropTexts.h decides).

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace zephrin {

class NoticeKinds : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;
    Q_INVOKABLE bool isSuccess(const QString& notice) const;
};

} // namespace zephrin
