#pragma once

// Turns the file chosen in the skin dialog into a skin name: StripExt drops the last four
// characters (the ".vol" of a skin volume, whatever they are), StripDir everything up to
// and including the last backslash.

#include <QString>

QString StripExt(const QString &skinFile);
QString StripDir(const QString &skinName);
