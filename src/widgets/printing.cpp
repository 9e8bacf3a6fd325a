#include "printing.h"

#include <QPainter>
#include <QPrinter>

using namespace Qt::StringLiterals;

bool printPrefsText(QPrinter &printer, const QString &prefsText)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRect page = painter.viewport();
    int top = 0;
    const auto printLine = [&](const QString &line) {
        const QRect bounds
                = painter.boundingRect(page.adjusted(0, top, 0, 0), Qt::TextWrapAnywhere, line);
        if (top > 0 && top + bounds.height() > page.height()) {
            printer.newPage();
            top = 0;
        }
        QRect drawn;
        painter.drawText(page.adjusted(0, top, 0, 0), Qt::TextWrapAnywhere, line, &drawn);
        top += qMax(drawn.height(), painter.fontMetrics().height());
    };
    // The document starts with an empty line in the printer's own font.
    printLine(QString());
    QFont font(u"Arial"_s);
    font.setPointSize(12);
    font.setBold(false);
    painter.setFont(font);
    QStringList lines = prefsText.split(u"\r\n"_s);
    if (lines.last().isEmpty())
        lines.removeLast();
    for (const QString &line : std::as_const(lines))
        printLine(line);
    return painter.end();
}
