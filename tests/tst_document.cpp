#include "prefsreader.h"
#include "prefswriter.h"
#include "testsupport.h"

#include <QDir>

using namespace TestSupport;
using namespace Qt::StringLiterals;

// The preferences text: read by position, written byte for byte, refused when it cannot be.
class DocumentTest : public QObject
{
    Q_OBJECT

    // Loads the file into the fields; linesRead counts the values it handed on.
    static Result load(const QString &name, QStringList &fields, int *linesRead = nullptr)
    {
        return Prefs::loadPositional(name, [&](int index, const QString &value) {
            fields[index] = value;
            if (linesRead)
                *linesRead = index + 1;
        });
    }

private Q_SLOTS:
    void extractValue_data() { addFixtureRows("extractvalue.tsv"); }
    void extractValue()
    {
        QFETCH(QString, line);
        QFETCH(QString, value);
        QCOMPARE(Prefs::ExtractValue(line), value);
    }

    void load_data()
    {
        QTest::addColumn<QByteArray>("content"); // "<none>": no file; "<fifo>": a named pipe...
        QTest::addColumn<int>("linesRead");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QStringList>("values"); // the first and the last field, or all 54

        const QStringList numbered = {u"value1"_s, u"value54"_s};
        const QStringList untouched = {u"old"_s, u"old"_s};
        QTest::newRow("no_final_line_end")
                << numberedLines(54).chopped(2) << 54 << QString() << numbered;
        QTest::newRow("60_lines") << numberedLines(60) << 54 << QString() << numbered;
        QTest::newRow("lf_only") << numberedLines(54, "\n") << 54 << QString() << numbered;
        QTest::newRow("cr_only") << numberedLines(54, "\r") << 54 << QString() << numbered;
        QTest::newRow("no_line_end_at_all") << QByteArray("abcde") << 1 << u"ends after line 1"_s
                                            << QStringList({u"abc"_s, u"old"_s});
        QTest::newRow("53_lines") << numberedLines(53) << 53 << u"ends after line 53; 54 lines"_s
                                  << QStringList({u"value1"_s, u"old"_s});
        QTest::newRow("zero_bytes") << QByteArray() << 0 << u"ends after line 0"_s << untouched;
        QTest::newRow("missing") << QByteArray("<none>") << 0 << u"No such file"_s << untouched;
        QTest::newRow("empty_lines") << QByteArray(54, '\n') << 54 << QString() << QStringList(2);
        QTest::newRow("nul_bytes")
                << QByteArray("\0\"x\0y\";\r\n", 9) + numberedLines(53) << 54 << QString()
                << QStringList({QString::fromLatin1("x\0y", 3), u"value53"_s});
        QTest::newRow("golden") << readBytes(dataFile("golden54.cs")) << 54 << QString()
                                << goldenValues();
        QList<QByteArray> lines = readBytes(dataFile("golden54.cs")).split('\n');
        lines.swapItemsAt(0, 53); // by position, whatever variable a line names
        QTest::newRow("swapped") << lines.join('\n') << 54 << QString()
                                 << QStringList({u"Raindance"_s, u"IP:192.168.1.10:28001"_s});
        const QByteArray info = numberedLines(2) + "$Server::Info = \"";
        QTest::newRow("at_field_limit")
                << info + QByteArray(32767, 'i') + "\";\r\n" + numberedLines(51) << 54 << QString()
                << QStringList({u"value1"_s, u"value51"_s});
        QTest::newRow("over_field_limit")
                << info + QByteArray(32768, 'i') + "\";\r\n" + numberedLines(60) << 2
                << u"Line 3 of"_s << QStringList({u"value1"_s, u"old"_s});
        // The reader takes 4,096 bytes at a time: this CR ends one chunk, its LF starts the next.
        QTest::newRow("crlf_across_chunks")
                << "$a = \"" + QByteArray(4095 - 8, 'c') + "\";\r\n" + numberedLines(53) << 54
                << QString() << QStringList({QString(4087, u'c'), u"value53"_s});
        // Not one of them may block the open or be read as a document.
        QTest::newRow("fifo") << QByteArray("<fifo>") << 0 << u"it is a named pipe"_s << untouched;
        QTest::newRow("device") << QByteArray("<device>") << 0 << u"it is a device"_s << untouched;
        QTest::newRow("folder") << QByteArray("<folder>") << 0 << u"it is a folder"_s << untouched;
    }

    void load()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, linesRead);
        QFETCH(QString, error);
        QFETCH(QStringList, values);

        if (content == "<device>" && !isRoot())
            QSKIP("Only root makes a device.");
        QTemporaryDir dir;
        const QString name = dir.filePath(u"prefs.cs"_s);
        if (content.startsWith('<') && content != "<none>")
            QVERIFY(makeSpecialFile(name, QString::fromLatin1(content.mid(1).chopped(1))));
        else if (content != "<none>")
            QVERIFY(writeBytes(name, content));
        QStringList fields(54, u"old"_s);
        int read = 0;
        const Result result = load(name, fields, &read);
        QCOMPARE(read, linesRead);
        QVERIFY2(result.message.contains(error) && result.ok() == error.isEmpty(),
                 qPrintable(result.message));
        QVERIFY(error.isEmpty() || result.message.contains(name));
        QCOMPARE(fields.count(u"old"_s), 54 - linesRead);
        QCOMPARE(values.size() == 54 ? fields : QStringList({fields.first(), fields.last()}),
                 values);
    }

    void write_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QString>("file");
        // Every tag, the misspelled ones included, and every kind of value, byte for byte;
        // with all values empty the file has 1,471 bytes.
        QTest::newRow("all_empty") << QStringList(54) << dataFile("empty54.cs");
        QTest::newRow("golden") << goldenValues() << dataFile("golden54.cs");
    }

    void write()
    {
        QFETCH(QStringList, texts);
        QFETCH(QString, file);
        QTemporaryDir dir;
        const QString name = dir.filePath(u"serverprefs.cs"_s);
        QCOMPARE(Prefs::writeDocument(name, texts).message, QString());
        QCOMPARE(readBytes(name), readBytes(file));
    }

    void everyByteRoundTrips()
    {
        // Every byte but CR and LF, five to a value, comes back unchanged after read and write.
        QByteArray file;
        for (int line = 0; line < 54; ++line) {
            QByteArray value;
            for (int byte = line * 5; byte < qMin(line * 5 + 5, 256); ++byte)
                value += byte == '\r' || byte == '\n' ? QByteArray() : QByteArray(1, char(byte));
            file += "$Server::v = \"" + value + "\";\r\n";
        }
        QTemporaryDir dir;
        QVERIFY(writeBytes(dir.filePath(u"in"_s), file));
        QStringList fields(54);
        QVERIFY(load(dir.filePath(u"in"_s), fields).ok());
        QVERIFY(Prefs::writeDocument(dir.filePath(u"out"_s), fields).ok());
        const QList<QByteArray> source = file.split('\n');
        const QList<QByteArray> output = readBytes(dir.filePath(u"out"_s)).split('\n');
        for (int line = 0; line < 54; ++line) // the tags differ, the values do not
            QCOMPARE(output[line].mid(output[line].indexOf('"')),
                     source[line].mid(source[line].indexOf('"')));
    }

    void unstorable_data() { addFixtureRows("unstorable.tsv"); }
    void unstorable()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);

        QStringList texts = goldenValues();
        QVERIFY(Prefs::checkStorable(texts).ok());
        texts[field.toInt()] = text == u"<32768>"_s ? QString(32768, u'm') : text;
        QTemporaryDir dir; // and the write refuses, before any file is touched
        const Result refused = Prefs::writeDocument(dir.filePath(u"prefs.cs"_s), texts);
        QVERIFY2(refused.message.startsWith(u"Nothing was written: "_s + message),
                 qPrintable(refused.message));
        QCOMPARE(refused.field, field.toInt());
        QVERIFY(QDir(dir.path()).isEmpty());
    }

    void hundredMegabyteLine()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath(u"huge.cs"_s));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(100 * 1024 * 1024));
        file.close();
        const qint64 before = resetPeakMemory();
        QStringList fields(54, u"old"_s);
        const Result result = load(file.fileName(), fields);
        QVERIFY2(result.message.startsWith(u"Line 1 of"_s), qPrintable(result.message));
        QCOMPARE(fields, QStringList(54, u"old"_s));
        QCOMPARE_LT(memoryKilobytes("VmHWM:") - before, 32 * 1024);
    }
};

QTEST_GUILESS_MAIN(DocumentTest)
#include "tst_document.moc"
