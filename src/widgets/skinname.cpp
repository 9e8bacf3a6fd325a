#include "skinname.h"

QString StripExt(const QString &skinFile)
{
    return skinFile.size() > 4 ? skinFile.chopped(4) : QString();
}

QString StripDir(const QString &skinName)
{
    // Only the backslash separates: a forward slash is part of the name.
    return skinName.mid(skinName.lastIndexOf(u'\\') + 1);
}
