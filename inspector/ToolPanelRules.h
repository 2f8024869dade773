#pragma once
// The decisions of the background, effects, adjust, colour and resize panels
// and the compliance list that are more than layout: when the background
// adjustments are locked, when Reset has work, which presets each menu section
// lists, how the checklist's heading reads, which angle preset is lit, and the
// canvas tools' chip faces. Plain functions, with a QML face (PanelRules).

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

namespace zephrin::inspector {

// The background adjustments apply only over the photo's own background or a
// picture: with the background target and a transparent or colour background
// the sliders are locked.
bool adjustLocked(const QString& target, const QString& backgroundMode);
// An adjustment set (exposure, contrast, saturation, warmth) that changes nothing.
bool isNeutralAdjust(const QVariantMap& adjust);

// The titles of the listing presets in one section of the preset menu, in
// preset order: the apparel prints, or the marketplaces (every other preset).
QStringList listingPresetTitles(bool apparel);

// Whether no row of a checklist (maps with "ok") is unmet.
bool allMet(const QVariantList& items);
// "Etsy listing: ready", "Amazon main image: needs attention".
QString complianceHeading(const QString& presetTitle, bool met);

// An angle preset is lit while the angle lies within half a degree of it.
bool isAnglePreset(double angle, double preset);

// The face of a canvas tool's chip: its symbol and title ("Paint").

class PanelRulesQml : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(PanelRules)
    QML_SINGLETON

public:
    using QObject::QObject;
    Q_INVOKABLE bool adjustLocked(const QString& target, const QString& backgroundMode) const;
    Q_INVOKABLE bool isNeutralAdjust(const QVariantMap& adjust) const;
    Q_INVOKABLE QStringList listingPresetTitles(bool apparel) const;
    Q_INVOKABLE bool allMet(const QVariantList& items) const;
    Q_INVOKABLE QString complianceHeading(const QString& presetTitle, bool met) const;
    Q_INVOKABLE bool isAnglePreset(double angle, double preset) const;
};

} // namespace zephrin::inspector
