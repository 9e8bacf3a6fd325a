#include "app/sharedstrings.h"
#include "testsupport.h"
#include "ui/documentcommands.h"
#include "ui/mainwindow.h"
#include "widgetsupport.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>
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
    void saveAndExit();
    void saveAndExitFails_data();
    void saveAndExitFails();
    void createBackup();
    void loadBackup_data();
    void loadBackup();
    void restore();
    void printToPdf();
    void printWithoutPrinter();

private:
    void trigger(const char *action)
    {
        m_window->findChild<QAction *>(QLatin1StringView(action))->trigger();
    }
    QString game() const { return m_folder->filePath(u"Tribes"_qs); }
    void fill(const QStringList &texts)
    {
        for (int index = 0; index < texts.size(); ++index)
            m_window->field(index)->setText(texts.at(index));
    }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<SharedStrings> m_shared;
    std::unique_ptr<MainWindow> m_window;
};

void CommandsTest::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_folder->path()));
    qputenv("HOME", QFile::encodeName(m_folder->path()));
    QVERIFY(QDir().mkpath(game() + u"/config"_qs));
    QVERIFY(writeBytes(game() + u"/config/ServerPrefs.cs"_qs, numberedLines(54)));
    m_shared = std::make_unique<SharedStrings>();
    m_shared->TribesPath = game();
    m_window = std::make_unique<MainWindow>(*m_shared);
}

void CommandsTest::saveAndExit()
{
    fill(goldenValues());
    QSignalSpy exits(m_window.get(), &MainWindow::exitRequested);
    trigger("mnuSaE");
    // The existing file is found whatever the case of its name, and replaced.
    QCOMPARE(readBytes(game() + u"/config/ServerPrefs.cs"_qs), readBytes(dataFile("golden54.cs")));
    QCOMPARE(exits.size(), 1);
    QCOMPARE(m_shared->PrefsText.size(), 1805);
}

void CommandsTest::saveAndExitFails_data()
{
    QTest::addColumn<QString>("tribesPath");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");

    QTest::newRow("missing_folder") << u"GAME/nowhere"_qs << u"x"_qs << u"No such file"_qs;
    QTest::newRow("unstorable") << u"GAME"_qs << u"\u4e2d"_qs << u"\"Host Name\" (line 5"_qs;
}

void CommandsTest::saveAndExitFails()
{
    QFETCH(QString, tribesPath);
    QFETCH(QString, text);
    QFETCH(QString, message);

    m_shared->TribesPath = tribesPath.replace(u"GAME"_qs, game());
    m_window->field(4)->setText(text);
    QSignalSpy exits(m_window.get(), &MainWindow::exitRequested);
    MessageCatcher catcher;
    trigger("mnuSaE");
    QVERIFY2(catcher.lastText().contains(message), qPrintable(catcher.lastText()));
    QCOMPARE(exits.size(), 0);
    QCOMPARE(readBytes(game() + u"/config/ServerPrefs.cs"_qs), numberedLines(54));
}

void CommandsTest::createBackup()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    // With no desktop folder, the backup goes into the home folder.
    fill(QStringList(54, u"first"_qs));
    trigger("mnuBackup");
    QVERIFY(readBytes(m_folder->filePath(u"test.txt"_qs))
                    .startsWith("$Server::Address = \"first\";"));
    QVERIFY(QDir().mkpath(desktop));
    trigger("mnuBackup");
    fill(goldenValues());
    trigger("mnuBackup");
    QCOMPARE(readBytes(desktop + u"/test.txt"_qs), readBytes(dataFile("golden54.cs")));
    QCOMPARE(m_window->fieldTexts(), goldenValues());
    // A backup is never the file Load Backup reads.
    QVERIFY(!QFile::exists(u"serverprefs.bak"_qs));
}

void CommandsTest::loadBackup_data()
{
    QTest::addColumn<QByteArray>("content"); // "<none>" for no backup
    QTest::addColumn<int>("fieldsSet");
    QTest::addColumn<QString>("message");

    QTest::newRow("54_lines") << numberedLines(54) << 54 << QString();
    QTest::newRow("60_lines") << numberedLines(60) << 54 << QString();
    QTest::newRow("10_lines") << numberedLines(10) << 10 << u"ends after line 10"_qs;
    QTest::newRow("missing") << QByteArray("<none>") << 0 << u"serverprefs.bak\": No such file"_qs;
}

void CommandsTest::loadBackup()
{
    QFETCH(QByteArray, content);
    QFETCH(int, fieldsSet);
    QFETCH(QString, message);

    if (content != "<none>")
        QVERIFY(writeBytes(u"serverprefs.bak"_qs, content));
    fill(QStringList(54, u"old"_qs));
    m_shared->PrefsText = u"untouched"_qs;
    MessageCatcher catcher;
    trigger("mnuLoad");
    const QStringList texts = m_window->fieldTexts();
    QCOMPARE(texts.count(u"old"_qs), 54 - fieldsSet);
    if (fieldsSet > 0)
        QCOMPARE(texts.at(fieldsSet - 1), u"value%1"_qs.arg(fieldsSet));
    QCOMPARE(catcher.lastText().isEmpty(), message.isEmpty());
    QVERIFY2(catcher.lastText().contains(message), qPrintable(catcher.lastText()));
    QCOMPARE(m_shared->PrefsText, u"untouched"_qs);
    // The file slot is free again: the backup can be replaced at once.
    QVERIFY(writeBytes(u"serverprefs.bak"_qs, "x"));
}

void CommandsTest::restore()
{
    MessageCatcher catcher;
    trigger("mnuRestor");
    QCOMPARE(m_window->field(4)->text(), u"value5"_qs);
    m_window->field(4)->setText(u"edited"_qs);
    trigger("mnuRestor");
    QCOMPARE(m_window->field(4)->text(), u"value5"_qs);
    QVERIFY(catcher.messages.isEmpty());
    // A short preferences file restores what it has and says where it ended.
    QVERIFY(writeBytes(game() + u"/config/ServerPrefs.cs"_qs, numberedLines(3)));
    m_window->field(53)->setText(u"kept"_qs);
    trigger("mnuRestor");
    QVERIFY(catcher.lastText().contains(u"ends after line 3"_qs));
    QCOMPARE(m_window->field(53)->text(), u"kept"_qs);
}

void CommandsTest::printToPdf()
{
    if (QStandardPaths::findExecutable(u"pdftotext"_qs).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed.");
    fill(goldenValues());
    m_window->Format();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = m_folder->filePath(u"print.pdf"_qs);
    printer.setOutputFileName(pdf);
    QVERIFY(printPrefsText(printer, m_shared->PrefsText));

    QProcess text;
    text.start(u"pdftotext"_qs, {u"-layout"_qs, pdf, u"-"_qs});
    QVERIFY(text.waitForFinished());
    const QStringList lines = QString::fromUtf8(text.readAllStandardOutput()).split(u'\n');
    QCOMPARE(lines.at(0).trimmed(), u"$Server::Address = \"IP:192.168.1.10:28001\";"_qs);
    QCOMPARE(lines.at(6).trimmed(),
             u"$Server::Info = \"Caf\u00e9 rules: no spawn camping \u20ac 5\";"_qs);
    QCOMPARE(lines.at(53).trimmed(), u"$pref::LastMission = \"Raindance\";"_qs);

    // pdftotext drops leading empty lines: the word boxes show the empty first line and the
    // 12-point type.
    QProcess boxes;
    boxes.start(u"pdftotext"_qs, {u"-bbox"_qs, pdf, u"-"_qs});
    QVERIFY(boxes.waitForFinished());
    const QString html = QString::fromUtf8(boxes.readAllStandardOutput());
    static const QRegularExpression word(
            uR"re(<word xMin="[\d.]+" yMin="([\d.]+)" xMax="[\d.]+" yMax="([\d.]+)">([^<]*)<)re"_qs);
    QList<QRegularExpressionMatch> words;
    for (const QRegularExpressionMatch &match : word.globalMatch(html))
        words << match;
    QVERIFY(words.size() > 54);
    QCOMPARE(words.first().captured(3), u"$Server::Address"_qs);
    const double firstTop = words.first().captured(1).toDouble();
    const double height = words.first().captured(2).toDouble() - firstTop;
    QVERIFY2(height > 11 && height < 16, qPrintable(QString::number(height)));
    const double pageTop = printer.pageLayout().paintRectPoints().top();
    QVERIFY2(firstTop - pageTop > 8, qPrintable(QString::number(firstTop - pageTop)));

    QProcess fonts;
    fonts.start(u"pdffonts"_qs, {pdf});
    QVERIFY(fonts.waitForFinished());
    const QString fontList = QString::fromUtf8(fonts.readAllStandardOutput());
    QVERIFY2(fontList.contains(u"LiberationSans"_qs) || fontList.contains(u"Arial"_qs),
             qPrintable(fontList));
    QVERIFY(!fontList.contains(u"Bold"_qs));
}

void CommandsTest::printWithoutPrinter()
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        QSKIP("This machine has a default printer.");
    MessageCatcher catcher;
    trigger("mnuPrint");
    QCOMPARE(catcher.lastText(), u"No printer is available, so nothing was printed."_qs);
}

QTEST_MAIN(CommandsTest)
#include "tst_commands.moc"
