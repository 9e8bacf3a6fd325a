#include "documentdiff.h"

#include "settingnames.h"

#include <QMap>

using namespace Qt::StringLiterals;

namespace Prefs {

Settings Settings::of(const Document &document)
{
    Settings settings;
    for (int index = 0; index < FieldCount; ++index)
        settings.values[index] = document.setting(index);
    settings.others = document.otherSettings();
    return settings;
}

QList<Difference> differences(const Settings &here, const Settings &there)
{
    QList<Difference> found;
    for (int index = 0; index < FieldCount; ++index) {
        const SettingValue &mine = here.values[index], &theirs = there.values[index];
        // Where a line stands does not count, only what the game makes of it.
        if (mine.state != theirs.state || mine.value != theirs.value
            || mine.state == SettingValue::State::Broken)
            found.append({settingName(index), mine, theirs});
    }
    // By name, in any letter case, spelled as the first side spells it.
    QMap<QString, Difference> others;
    const auto add = [&others](const QList<OtherSetting> &side, SettingValue Difference::*slot) {
        for (const OtherSetting &other : side) {
            Difference &difference = others[other.name.toCaseFolded()];
            if (difference.name.isEmpty())
                difference.name = other.name;
            difference.*slot = {SettingValue::State::Set, other.value, other.lines.last()};
        }
    };
    add(here.others, &Difference::here);
    add(there.others, &Difference::there);
    for (const Difference &difference : std::as_const(others)) {
        if (difference.here.state != difference.there.state
            || difference.here.value != difference.there.value)
            found.append(difference);
    }
    return found;
}

QString shownValue(const SettingValue &value, bool masked)
{
    switch (value.state) {
    case SettingValue::State::Set:
        return quoted(masked && !value.value.isEmpty() ? SecretMask.toString() : value.value);
    case SettingValue::State::Broken:
        return u"(cannot read line %1)"_s.arg(value.line);
    case SettingValue::State::NotSet:
        break;
    }
    return u"(not set)"_s;
}

} // namespace Prefs
