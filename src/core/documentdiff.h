#pragma once

// Two servers' settings side by side: each setting whose value differs, the 54 first in table
// order, then the other variables by name. Comments, blank lines, order and line ends do not
// count; a line the game cannot read differs from every value.

#include "document.h"

namespace Prefs {

// What a file, or the window, gives each setting.
struct Settings
{
    std::array<SettingValue, FieldCount> values;
    QList<OtherSetting> others;

    static Settings of(const Document &document);
};

struct Difference
{
    QString name; // the game's variable of one of the 54, or another as the first spells it
    SettingValue here;
    SettingValue there;
};

QList<Difference> differences(const Settings &here, const Settings &there);

// A value as a list shows it: quoted, "(cannot read line N)" or "(not set)"; a secret's value
// masked when asked, unless it is empty.
QString shownValue(const SettingValue &value, bool masked = false);

} // namespace Prefs
