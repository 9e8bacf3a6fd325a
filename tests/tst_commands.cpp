#include "app/sharedstrings.h"
#include "testsupport.h"
#include "ui/documentcommands.h"
#include "ui/mainwindow.h"
#include "ui/tabcontrol.h"
#include "widgetsupport.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

using namespace TestSupport;

class CommandsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void saveAndExit_data();
    void saveAndExit();
    void createBackup();
    void loadBackup_data();
    void loadBackup();
    void restore();
    void bigValues_data();
    void bigValues();
    void printToPdf();

private:
    void trigger(const char *name)
    {
        m_window->findChild<QAction *>(QLatin1StringView(name))->trigger();
    }
    void fill(const QStringList &texts)
    {
        for (int index = 0; index < 54; ++index)
            m_window->field(index)->setText(texts.at(index));
    }
    QString prefsFile() const { return m_folder->filePath(u"Tribes/config/ServerPrefs.cs"_qs); }

    std::unique_ptr<QTemporaryDir> m_folder;
    SharedStrings m_shared;
    std::unique_ptr<MainWindow> m_window;
};

void CommandsTest::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_folder->path()));
    qputenv("HOME", QFile::encodeName(m_folder->path()));
    QVERIFY(QDir().mkpath(u"Tribes/config"_qs));
    QVERIFY(writeBytes(prefsFile(), numberedLines(54)));
    m_shared.TribesPath = m_folder->filePath(u"tribes"_qs); // found whatever its case
    m_window = std::make_unique<MainWindow>(m_shared);
}

void CommandsTest::saveAndExit_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("message"); // empty: saved

    QTest::newRow("saved") << 4 << 0 << goldenValues().at(4) << QString();
    QTest::newRow("unstorable") << 4 << 0 << u"\u4e2d"_qs << u"\"Host Name\" (line 5"_qs;
    QTest::newRow("line_break") << 27 << 3 << u"Blood\r\nEagle"_qs
                                << u"\"Team 2\" (line 28, $Sever::teamName2) holds a line break, "
                                   "shown as a space"_qs;
}

void CommandsTest::saveAndExit()
{
    QFETCH(int, field);
    QFETCH(int, page);
    QFETCH(QString, pasted);
    QFETCH(QString, message);

    fill(goldenValues());
    QApplication::clipboard()->setText(pasted);
    m_window->field(field)->selectAll();
    m_window->field(field)->paste();
    QSignalSpy exits(m_window.get(), &MainWindow::exitRequested);
    MessageCatcher catcher;
    trigger("mnuSaE");
    QVERIFY2(catcher.lastText().contains(message), qPrintable(catcher.lastText()));
    // The run ends only when the file was written; else the old file is kept.
    QCOMPARE(exits.size(), message.isEmpty() ? 1 : 0);
    QCOMPARE(readBytes(prefsFile()),
             message.isEmpty() ? readBytes(dataFile("golden54.cs")) : numberedLines(54));
    if (!message.isEmpty()) { // the field is shown, to be mended
        QCOMPARE(m_window->tabs()->currentIndex(), page);
        QCOMPARE(m_window->focusWidget(), m_window->field(field));
    }
}

void CommandsTest::createBackup()
{
    // With no desktop folder the backup goes into the home folder; else onto the desktop.
    fill(QStringList(54, u"first"_qs));
    trigger("mnuBackup");
    QVERIFY(readBytes(u"test.txt"_qs).startsWith("$Server::Address = \"first\";"));
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    QVERIFY(QDir().mkpath(desktop));
    trigger("mnuBackup");
    fill(goldenValues());
    trigger("mnuBackup");
    QCOMPARE(readBytes(desktop + u"/test.txt"_qs), readBytes(dataFile("golden54.cs")));
    QCOMPARE(m_window->fieldTexts(), goldenValues());
    QVERIFY(!QFile::exists(u"serverprefs.bak"_qs)); // not the file Load Backup reads
}

void CommandsTest::loadBackup_data()
{
    QTest::addColumn<QByteArray>("content"); // "<none>" for no backup
    QTest::addColumn<int>("fieldsSet");
    QTest::addColumn<QString>("message");

    QTest::newRow("54_lines") << numberedLines(54) << 54 << QString();
    QTest::newRow("60_lines") << numberedLines(60) << 54 << QString();
    QTest::newRow("10_lines") << numberedLines(10) << 10 << u"ends after line 10"_qs;
    QTest::newRow("missing") << QByteArray("<none>") << 0 << u"serverprefs.bak\": No such"_qs;
}

void CommandsTest::loadBackup()
{
    QFETCH(QByteArray, content);
    QFETCH(int, fieldsSet);
    QFETCH(QString, message);

    if (content != "<none>")
        QVERIFY(writeBytes(u"serverprefs.bak"_qs, content));
    fill(QStringList(54, u"old"_qs));
    m_shared.PrefsText = u"untouched"_qs;
    MessageCatcher catcher;
    trigger("mnuLoad");
    const QStringList texts = m_window->fieldTexts();
    QCOMPARE(texts.count(u"old"_qs), 54 - fieldsSet);
    if (fieldsSet > 0)
        QCOMPARE(texts.at(fieldsSet - 1), u"value%1"_qs.arg(fieldsSet));
    QCOMPARE(catcher.lastText().isEmpty(), message.isEmpty());
    QVERIFY2(catcher.lastText().contains(message), qPrintable(catcher.lastText()));
    QCOMPARE(m_shared.PrefsText, u"untouched"_qs);
}

void CommandsTest::restore()
{
    MessageCatcher catcher;
    m_window->field(4)->setText(u"edited"_qs);
    trigger("mnuRestor");
    QCOMPARE(m_window->field(4)->text(), u"value5"_qs);
    QVERIFY(catcher.messages.isEmpty());
    // A short file restores the lines it has and says where it ended.
    QVERIFY(writeBytes(prefsFile(), numberedLines(3)));
    m_window->field(53)->setText(u"kept"_qs);
    trigger("mnuRestor");
    QVERIFY(catcher.lastText().contains(u"ends after line 3"_qs));
    QCOMPARE(m_window->field(53)->text(), u"kept"_qs);
}

void CommandsTest::bigValues_data()
{
    QTest::addColumn<int>("length");
    QTest::newRow("at_the_field_limit") << 32767;
    QTest::newRow("a_megabyte_each") << 1048576; // more than a field holds: not loaded
}

void CommandsTest::bigValues()
{
    QFETCH(int, length);

    QByteArray file;
    for (int line = 0; line < 54; ++line)
        file += "$v = \"" + QByteArray(length, char('a' + line % 26)) + "\";\r\n";
    QVERIFY(writeBytes(u"serverprefs.bak"_qs, file));
    const qint64 before = resetPeakMemory();
    MessageCatcher catcher;
    trigger("mnuLoad");
    const qint64 growth = memoryKilobytes("VmHWM:") - before;
    QVERIFY2(growth < 300 * 1024, qPrintable(u"%1 KB"_qs.arg(growth)));
    const bool loads = length <= 32767;
    QCOMPARE(catcher.messages.isEmpty(), loads);
    QCOMPARE(m_window->field(53)->text().size(), loads ? length : 0);
    if (!loads)
        return;
    // Written and read back, every character is there.
    const QStringList texts = m_window->fieldTexts();
    trigger("mnuBackup");
    QVERIFY(QFile::remove(u"serverprefs.bak"_qs) && QFile::rename(u"test.txt"_qs, u"serverprefs.bak"_qs));
    fill(QStringList(54));
    trigger("mnuLoad");
    QVERIFY(catcher.messages.isEmpty());
    QCOMPARE(m_window->fieldTexts(), texts);
}

static QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput());
}

void CommandsTest::printToPdf()
{
    if (QPrinterInfo::defaultPrinter().isNull()) {
        MessageCatcher catcher;
        trigger("mnuPrint");
        QCOMPARE(catcher.lastText(), u"No printer is available, so nothing was printed."_qs);
    }
    fill(goldenValues());
    m_window->Format();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = m_folder->filePath(u"print.pdf"_qs);
    printer.setOutputFileName(pdf);
    QVERIFY(printPrefsText(printer, m_shared.PrefsText));

    const QStringList lines = run(u"pdftotext"_qs, {u"-layout"_qs, pdf, u"-"_qs}).split(u'\n');
    QCOMPARE(lines.at(0).trimmed(), u"$Server::Address = \"IP:192.168.1.10:28001\";"_qs);
    QCOMPARE(lines.at(6).trimmed(),
             u"$Server::Info = \"Caf\u00e9 rules: no spawn camping \u20ac 5\";"_qs);
    QCOMPARE(lines.at(53).trimmed(), u"$pref::LastMission = \"Raindance\";"_qs);
    // pdftotext drops leading empty lines: the first word's box shows the empty line above
    // it, and the size of the type.
    static const QRegularExpression word(
            uR"re(<word xMin="[\d.]+" yMin="([\d.]+)" xMax="[\d.]+" yMax="([\d.]+)">)re"_qs);
    const QRegularExpressionMatch first
            = word.match(run(u"pdftotext"_qs, {u"-bbox"_qs, pdf, u"-"_qs}));
    const double top = first.captured(1).toDouble();
    const double height = first.captured(2).toDouble() - top;
    QVERIFY2(height > 11 && height < 16, qPrintable(QString::number(height)));
    QVERIFY(top - printer.pageLayout().paintRectPoints().top() > 8);
    const QString fonts = run(u"pdffonts"_qs, {pdf});
    QVERIFY2(fonts.contains(u"LiberationSans"_qs) && !fonts.contains(u"Bold"_qs),
             qPrintable(fonts));
}

QTEST_MAIN(CommandsTest)
#include "tst_commands.moc"
