#include "documentcommands.h"

#include "mainwindow.h"
#include "messagebox.h"
#include "platform/nativepath.h"
#include "prefs/prefswriter.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

// Load Backup reads this file in the working folder; no command writes it.
const char BackupToLoad[] = "serverprefs.bak";

} // namespace

DocumentCommands::DocumentCommands(MainWindow *window)
    : QObject(window)
    , m_window(window)
{}

bool DocumentCommands::writeDocument(const QString &nativeName)
{
    m_window->Format();
    int field = -1;
    QString error = Prefs::checkStorable(m_window->fieldTexts(), &field);
    if (error.isEmpty())
        error = Prefs::writePrefsText(nativeName, m_window->shared().PrefsText);
    if (!error.isEmpty())
        showMessage(m_window, error);
    if (field >= 0)
        m_window->showField(field);
    return error.isEmpty();
}

void DocumentCommands::reportLoad(const QString &error)
{
    if (!error.isEmpty())
        showMessage(m_window, error);
}

void DocumentCommands::saveAndExit()
{
    const SharedStrings &shared = m_window->shared();
    if (writeDocument(Platform::nativeFileName(shared.TribesPath + PrefsFile)))
        exit();
}

void DocumentCommands::createBackup()
{
    writeDocument(Platform::backupCopyName());
}

void DocumentCommands::loadBackup()
{
    reportLoad(m_window->loadFields(QString::fromLatin1(BackupToLoad)).error);
}

void DocumentCommands::restore()
{
    reportLoad(m_window->init().error);
}

void DocumentCommands::print()
{
    m_window->Format();
    const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
    if (printerInfo.isNull()) {
        showMessage(m_window, tr("No printer is available, so nothing was printed."));
        return;
    }
    QPrinter printer(printerInfo);
    if (!printPrefsText(printer, m_window->shared().PrefsText))
        showMessage(m_window, tr("Cannot print on \"%1\".").arg(printerInfo.printerName()));
}

void DocumentCommands::configCompare()
{
    showMessage(m_window, u"This is not yet available. Will be in the new release"_qs);
}

void DocumentCommands::exit()
{
    Q_EMIT m_window->exitRequested();
}

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
    QFont font(u"Arial"_qs);
    font.setPointSize(12);
    font.setBold(false);
    painter.setFont(font);
    QStringList lines = prefsText.split(u"\r\n"_qs);
    if (lines.last().isEmpty())
        lines.removeLast();
    for (const QString &line : std::as_const(lines))
        printLine(line);
    return painter.end();
}
