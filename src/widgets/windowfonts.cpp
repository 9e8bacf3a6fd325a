#include "windowfonts.h"

#include <QFontDatabase>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

QString windowFontFamily()
{
    static const QString family = QFontDatabase::families().contains(u"MS Sans Serif"_s)
                                          ? u"MS Sans Serif"_s
                                          : u"Liberation Sans"_s;
    return family;
}

} // namespace

QFont windowFont()
{
    return windowFont(8.25, false);
}

QFont windowFont(qreal pointSize, bool bold)
{
    QFont font(windowFontFamily());
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}
