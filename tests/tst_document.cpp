#include "prefs/prefsreader.h"
#include "prefs/prefswriter.h"
#include "testsupport.h"

using namespace TestSupport;

// The preferences text: read by position, written byte for byte, refused when it cannot be.
class DocumentTest : public QObject
{
    Q_OBJECT

    static Prefs::LoadResult load(const QString &name, QStringList &fields)
    {
        return Prefs::loadPositional(name, [&](int index, const QString &value) {
            fields[index] = value;
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

        const QStringList numbered = {u"value1"_qs, u"value54"_qs};
        const QStringList untouched = {u"old"_qs, u"old"_qs};
        QTest::newRow("no_final_line_end")
                << numberedLines(54).chopped(2) << 54 << QString() << numbered;
        QTest::newRow("60_lines") << numberedLines(60) << 54 << QString() << numbered;
        QTest::newRow("lf_only") << numberedLines(54, "\n") << 54 << QString() << numbered;
        QTest::newRow("cr_only") << numberedLines(54, "\r") << 54 << QString() << numbered;
        QTest::newRow("no_line_end_at_all") << QByteArray("abcde") << 1 << u"ends after line 1"_qs
                                            << QStringList({u"abc"_qs, u"old"_qs});
        QTest::newRow("53_lines") << numberedLines(53) << 53 << u"ends after line 53; 54 lines"_qs
                                  << QStringList({u"value1"_qs, u"old"_qs});
        QTest::newRow("zero_bytes") << QByteArray() << 0 << u"ends after line 0"_qs << untouched;
        QTest::newRow("missing") << QByteArray("<none>") << 0 << u"No such file"_qs << untouched;
        QTest::newRow("empty_lines") << QByteArray(54, '\n') << 54 << QString() << QStringList(2);
        QTest::newRow("nul_bytes") << QByteArray("\0\"x\0y\";\r\n", 9) + numberedLines(53) << 54
                                   << QString()
                                   << QStringList({QString::fromLatin1("x\0y", 3), u"value53"_qs});
        QTest::newRow("golden") << readBytes(dataFile("golden54.cs")) << 54 << QString()
                                << goldenValues();
        QList<QByteArray> lines = readBytes(dataFile("golden54.cs")).split('\n');
        lines.swapItemsAt(0, 53); // by position, whatever variable a line names
        QTest::newRow("swapped") << lines.join('\n') << 54 << QString()
                                 << QStringList({u"Raindance"_qs, u"IP:192.168.1.10:28001"_qs});
        const QByteArray info = numberedLines(2) + "$Server::Info = \"";
        QTest::newRow("at_field_limit")
                << info + QByteArray(32767, 'i') + "\";\r\n" + numberedLines(51) << 54 << QString()
                << QStringList({u"value1"_qs, u"value51"_qs});
        QTest::newRow("over_field_limit")
                << info + QByteArray(32768, 'i') + "\";\r\n" + numberedLines(60) << 2
                << u"Line 3 of"_qs << QStringList({u"value1"_qs, u"old"_qs});
        // The reader takes 4,096 bytes at a time: this CR ends one chunk, its LF starts the next.
        QTest::newRow("crlf_across_chunks")
                << "$a = \"" + QByteArray(4095 - 8, 'c') + "\";\r\n" + numberedLines(53) << 54
                << QString() << QStringList({QString(4087, u'c'), u"value53"_qs});
        // Not one of them may block the open or be read as a document.
        QTest::newRow("fifo") << QByteArray("<fifo>") << 0 << u"it is a named pipe"_qs << untouched;
        QTest::newRow("device") << QByteArray("<device>") << 0 << u"it is a device"_qs << untouched;
        QTest::newRow("folder") << QByteArray("<folder>") << 0 << u"it is a folder"_qs << untouched;
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
        const QString name = dir.filePath(u"prefs.cs"_qs);
        if (content.startsWith('<') && content != "<none>")
            QVERIFY(makeSpecialFile(name, QString::fromLatin1(content.mid(1).chopped(1))));
        else if (content != "<none>")
            QVERIFY(writeBytes(name, content));
        QStringList fields(54, u"old"_qs);
        const Prefs::LoadResult result = load(name, fields);
        QCOMPARE(result.linesRead, linesRead);
        QVERIFY2(result.error.contains(error) && result.ok() == error.isEmpty(),
                 qPrintable(result.error));
        QVERIFY(error.isEmpty() || result.error.contains(name));
        QCOMPARE(fields.count(u"old"_qs), 54 - linesRead);
        QCOMPARE(values.size() == 54 ? fields : QStringList({fields.first(), fields.last()}), values);
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
        const QString name = dir.filePath(u"serverprefs.cs"_qs);
        QCOMPARE(Prefs::writePrefsText(name, Prefs::formatPrefsText(texts)), QString());
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
        QVERIFY(writeBytes(dir.filePath(u"in"_qs), file));
        QStringList fields(54);
        QVERIFY(load(dir.filePath(u"in"_qs), fields).ok());
        QCOMPARE(Prefs::writePrefsText(dir.filePath(u"out"_qs), Prefs::formatPrefsText(fields)),
                 QString());
        const QList<QByteArray> source = file.split('\n');
        const QList<QByteArray> output = readBytes(dir.filePath(u"out"_qs)).split('\n');
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
        QCOMPARE(Prefs::checkStorable(texts), QString());
        texts[field.toInt()] = text == u"<32768>"_qs ? QString(32768, u'm') : text;
        int named = -1;
        const QString error = Prefs::checkStorable(texts, &named);
        QVERIFY2(error.startsWith(u"Nothing was written: "_qs + message), qPrintable(error));
        QCOMPARE(named, field.toInt());
    }

    void hundredMegabyteLine()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath(u"huge.cs"_qs));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(100 * 1024 * 1024));
        file.close();
        const qint64 before = resetPeakMemory();
        QStringList fields(54, u"old"_qs);
        const Prefs::LoadResult result = load(file.fileName(), fields);
        QVERIFY2(result.error.startsWith(u"Line 1 of"_qs), qPrintable(result.error));
        QCOMPARE(fields, QStringList(54, u"old"_qs));
        QCOMPARE_LT(memoryKilobytes("VmHWM:") - before, 32 * 1024);
    }
};

QTEST_GUILESS_MAIN(DocumentTest)
#include "tst_document.moc"
