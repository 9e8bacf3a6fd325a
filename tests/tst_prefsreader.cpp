#include "platform/linereader.h"
#include "prefs/prefsreader.h"
#include "prefs/prefswriter.h"
#include "testsupport.h"

#include <QBuffer>
#include <QTest>

using namespace TestSupport;

class PrefsReaderTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void extractValue_data();
    void extractValue();
    void load_data();
    void load();
    void goldenFile();
    void everyByteRoundTrips();
    void fieldLimit_data();
    void fieldLimit();
    void hugeLineIsNotReadOn();
};

void PrefsReaderTest::extractValue_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("value");

    QTest::newRow("written_line") << u"$Server::HostName = \"abc\";"_qs << u"abc"_qs;
    QTest::newRow("empty_value") << u"$Server::HostName = \"\";"_qs << QString();
    QTest::newRow("no_blank_tag") << u"$Server::CurrentMaster =\"1\";"_qs << u"1"_qs;
    QTest::newRow("quotes_inside") << u"$a = \"say \"hi\"; ok\";"_qs << u"say \"hi\"; ok"_qs;
    QTest::newRow("no_quote") << u"abcde"_qs << u"abc"_qs;
    QTest::newRow("no_quote_two_chars") << u"ab"_qs << QString();
    QTest::newRow("no_quote_one_char") << u"a"_qs << QString();
    QTest::newRow("empty_line") << QString() << QString();
    QTest::newRow("only_quote_last") << u"$a = \""_qs << QString();
    QTest::newRow("quote_then_one_char") << u"$a = \"x"_qs << QString();
    QTest::newRow("no_semicolon") << u"$a = \"abc\""_qs << u"ab"_qs;
    QTest::newRow("trailing_blanks") << u"$a = \"abc\";  "_qs << u"abc\";"_qs;
    QTest::newRow("blanks_kept") << u"$a = \"  x  \";"_qs << u"  x  "_qs;
}

void PrefsReaderTest::extractValue()
{
    QFETCH(QString, line);
    QFETCH(QString, value);
    QCOMPARE(Prefs::ExtractValue(line), value);
}

void PrefsReaderTest::load_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("linesRead");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("value1");
    QTest::addColumn<QString>("value54");

    const QByteArray lines54 = numberedLines(54);
    QTest::newRow("54_lines") << lines54 << 54 << QString() << u"value1"_qs << u"value54"_qs;
    QTest::newRow("54_no_final_line_end")
            << lines54.chopped(2) << 54 << QString() << u"value1"_qs << u"value54"_qs;
    QTest::newRow("60_lines") << numberedLines(60) << 54 << QString() << u"value1"_qs
                              << u"value54"_qs;
    QTest::newRow("lf_only") << numberedLines(54, "\n") << 54 << QString() << u"value1"_qs
                             << u"value54"_qs;
    QTest::newRow("cr_only") << numberedLines(54, "\r") << 54 << QString() << u"value1"_qs
                             << u"value54"_qs;
    QTest::newRow("mixed_ends") << numberedLines(20, "\n") + numberedLines(34, "\r\n") << 54
                                << QString() << u"value1"_qs << u"value34"_qs;
    QTest::newRow("53_lines") << numberedLines(53) << 53 << u"ends after line 53; 54 lines"_qs
                              << u"value1"_qs << u"old"_qs;
    QTest::newRow("10_lines") << numberedLines(10) << 10 << u"ends after line 10"_qs << u"value1"_qs
                              << u"old"_qs;
    QTest::newRow("zero_bytes") << QByteArray() << 0 << u"ends after line 0"_qs << u"old"_qs
                                << u"old"_qs;
    QTest::newRow("empty_lines") << QByteArray(54, '\n') << 54 << QString() << QString()
                                 << QString();
    QTest::newRow("blank_first_line")
            << "\r\n" + numberedLines(53) << 54 << QString() << QString() << u"value53"_qs;
    QTest::newRow("nul_bytes") << QByteArray("a\0b\0c\0\"x\0y\";", 12) + "\r\n" + numberedLines(53)
                               << 54 << QString() << QString::fromLatin1("x\0y", 3)
                               << u"value53"_qs;
}

void PrefsReaderTest::load()
{
    QFETCH(QByteArray, content);
    QFETCH(int, linesRead);
    QFETCH(QString, error);
    QFETCH(QString, value1);
    QFETCH(QString, value54);

    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("prefs.cs"));
    QVERIFY(writeBytes(name, content));
    QStringList fields(54, u"old"_qs);
    const Prefs::LoadResult result = Prefs::loadPositional(
            name, [&](int index, const QString &value) { fields[index] = value; });
    QCOMPARE(result.linesRead, linesRead);
    if (error.isEmpty()) {
        QVERIFY2(result.ok(), qPrintable(result.error));
    } else {
        QVERIFY2(result.error.contains(error), qPrintable(result.error));
        QVERIFY(result.error.contains(name));
    }
    QCOMPARE(fields.first(), value1);
    QCOMPARE(fields.last(), value54);
    QCOMPARE(fields.count(u"old"_qs), 54 - linesRead);
}

void PrefsReaderTest::goldenFile()
{
    QStringList fields(54);
    const auto result
            = Prefs::loadPositional(dataFile("golden54.cs"), [&](int index, const QString &value) {
                  fields[index] = value;
              });
    QVERIFY(result.ok());
    QCOMPARE(fields, goldenValues());

    // Swapped lines swap values: the reader never looks at the variable names.
    QByteArray swapped = readBytes(dataFile("golden54.cs"));
    QList<QByteArray> lines = swapped.split('\n');
    lines.swapItemsAt(0, 4);
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("swapped.cs"));
    QVERIFY(writeBytes(name, lines.join('\n')));
    QVERIFY(Prefs::loadPositional(name, [&](int index, const QString &value) {
                fields[index] = value;
            }).ok());
    QCOMPARE(fields.at(0), goldenValues().at(4));
    QCOMPARE(fields.at(4), goldenValues().at(0));

    QVERIFY(!Prefs::loadPositional(dir.filePath(QStringLiteral("missing.cs")),
                                   [&](int, const QString &) { QFAIL("set a field"); })
                     .ok());
}

void PrefsReaderTest::everyByteRoundTrips()
{
    // Every byte but CR and LF, spread over the 54 values, comes back unchanged.
    QByteArray file;
    for (int line = 0; line < 54; ++line) {
        QByteArray value;
        for (int byte = line * 5; byte < line * 5 + 5 && byte < 256; ++byte) {
            if (byte != '\r' && byte != '\n')
                value += char(byte);
        }
        file += "$Server::v = \"" + value + "\";\r\n";
    }
    file += "\r\n";
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("bytes.cs"));
    QVERIFY(writeBytes(name, file));
    QStringList fields(54);
    QVERIFY(Prefs::loadPositional(name, [&](int index, const QString &value) {
                fields[index] = value;
            }).ok());
    const QString written = dir.filePath(QStringLiteral("written.cs"));
    QCOMPARE(Prefs::writePrefsText(written, Prefs::formatPrefsText(fields)), QString());
    QStringList again(54);
    QVERIFY(Prefs::loadPositional(written, [&](int index, const QString &value) {
                again[index] = value;
            }).ok());
    QCOMPARE(again, fields);
    // The values, byte for byte: the written file differs from the source only in its tags.
    const QList<QByteArray> sourceLines = file.split('\n');
    const QList<QByteArray> writtenLines = readBytes(written).split('\n');
    for (int line = 0; line < 54; ++line) {
        const QByteArray &source = sourceLines.at(line);
        const QByteArray &output = writtenLines.at(line);
        QCOMPARE(output.mid(output.indexOf('"')), source.mid(source.indexOf('"')));
    }
}

void PrefsReaderTest::fieldLimit_data()
{
    QTest::addColumn<qsizetype>("length");
    QTest::addColumn<bool>("loads");

    QTest::newRow("at_limit") << qsizetype(1048576) << true;
    QTest::newRow("one_over") << qsizetype(1048577) << false;
    QTest::newRow("two_million") << qsizetype(2000000) << false;
}

void PrefsReaderTest::fieldLimit()
{
    QFETCH(qsizetype, length);
    QFETCH(bool, loads);

    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("long.cs"));
    QVERIFY(writeBytes(name, numberedLines(2) + "$Server::Info = \"" + QByteArray(length, 'i')
                                     + "\";\r\n" + numberedLines(60)));
    QStringList fields(54, u"old"_qs);
    const auto result = Prefs::loadPositional(
            name, [&](int index, const QString &value) { fields[index] = value; });
    QCOMPARE(result.ok(), loads);
    QCOMPARE(result.linesRead, loads ? 54 : 2);
    QCOMPARE(fields.at(2).size(), loads ? length : 3);
    if (!loads)
        QVERIFY2(result.error.startsWith(u"Line 3 of"_qs), qPrintable(result.error));
}

void PrefsReaderTest::hugeLineIsNotReadOn()
{
    QByteArray content(8 * 1024 * 1024, 'x');
    content += "\r\nnext";
    QBuffer buffer(&content);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    Platform::LineReader reader(buffer);
    QByteArray line;
    QCOMPARE(reader.readLine(line, 1000), Platform::LineReader::Status::TooLong);
    QVERIFY2(buffer.pos() <= 1000 + 64 * 1024, qPrintable(QString::number(buffer.pos())));
    QVERIFY(line.size() <= 1000);
}

QTEST_GUILESS_MAIN(PrefsReaderTest)
#include "tst_prefsreader.moc"
