#include "app/sharedstrings.h"
#include "testsupport.h"
#include "ui/mainwindow.h"
#include "ui/skinname.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

using namespace TestSupport;

class SkinPickerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void skinName_data();
    void skinName();
    void buttonFillsItsFieldOnly_data();
    void buttonFillsItsFieldOnly();
    void realDialog();
};

void SkinPickerTest::skinName_data()
{
    QTest::addColumn<QString>("skinFile");
    QTest::addColumn<QString>("skinName");

    QTest::newRow("full_path") << u"C:\\Dynamix\\Tribes\\base\\skins\\blue.vol"_qs << u"blue"_qs;
    QTest::newRow("several_dots") << u"C:\\skins\\my.blue.vol"_qs << u"my.blue"_qs;
    QTest::newRow("no_backslash") << u"blue.vol"_qs << u"blue"_qs;
    QTest::newRow("leading_backslash") << u"\\blue.vol"_qs << u"blue"_qs;
    QTest::newRow("other_extension") << u"C:\\skins\\blue.bmp"_qs << u"blue"_qs;
    QTest::newRow("longer_extension") << u"C:\\skins\\blue.jpeg"_qs << u"blue."_qs;
    QTest::newRow("eats_the_folder") << u"C:\\skins\\ab"_qs << u"skin"_qs;
    QTest::newRow("forward_slashes") << u"C:/skins/blue.vol"_qs << u"C:/skins/blue"_qs;
    QTest::newRow("name_of_four") << u"C:\\skins\\abcd"_qs << QString();
    QTest::newRow("four_chars") << u"abcd"_qs << QString();
    QTest::newRow("one_char") << u"a"_qs << QString();
    QTest::newRow("backslash_at_end") << u"\\\\\\x.vol"_qs << u"x"_qs;
}

void SkinPickerTest::skinName()
{
    QFETCH(QString, skinFile);
    QFETCH(QString, skinName);
    QCOMPARE(StripDir(StripExt(skinFile)), skinName);
}

void SkinPickerTest::buttonFillsItsFieldOnly_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("field");

    for (int button = 1; button <= 8; ++button)
        QTest::addRow("Command%d", button)
                << button << u"\\srv\\skins\\red.vol"_qs << u"TeamSkin%1"_qs.arg(button - 1);
    QTest::newRow("cancel") << 3 << QString() << QString();
}

void SkinPickerTest::buttonFillsItsFieldOnly()
{
    QFETCH(int, button);
    QFETCH(QString, chosen);
    QFETCH(QString, field);

    SharedStrings shared;
    MainWindow window(shared);
    for (int index = 0; index < 54; ++index)
        window.field(index)->setText(u"old"_qs);
    window.setSkinFileChooser([&] { return chosen; });
    window.findChild<QPushButton *>(u"Command%1"_qs.arg(button))->click();
    for (int index = 0; index < 54; ++index) {
        const bool chosenField = window.field(index)->objectName() == field;
        QCOMPARE(window.field(index)->text(), chosenField ? u"red"_qs : u"old"_qs);
    }
}

void SkinPickerTest::realDialog()
{
    QTemporaryDir folder;
    QVERIFY(QDir::setCurrent(folder.path()));
    QVERIFY(QDir().mkpath(u"Tribes/Base/Skins"_qs));
    for (const char *name : {"blue.vol", "Red.VOL", "notes.txt"})
        QVERIFY(writeBytes(u"Tribes/Base/Skins/"_qs + QLatin1StringView(name), "v"));
    QVERIFY(writeBytes(u"path.inf"_qs, folder.filePath(u"tribes"_qs).toUtf8() + "\r\n"));

    SharedStrings shared;
    MainWindow window(shared);
    window.runLoadStep();
    QCOMPARE(window.skinDirectory(), folder.filePath(u"tribes"_qs) + u"\\base\\skins"_qs);

    QStringList listed;
    QString dialogFolder;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        // A failed check must not leave the dialog waiting for a person.
        const auto closeAnyway = qScopeGuard([dialog] {
            if (dialog->isVisible())
                QMetaObject::invokeMethod(dialog, "reject");
        });
        dialogFolder = dialog->directory().absolutePath();
        auto *view = dialog->findChild<QListView *>(u"listView"_qs);
        QTRY_COMPARE_WITH_TIMEOUT(view->model()->rowCount(view->rootIndex()), 2, 2000);
        for (int row = 0; row < 2; ++row)
            listed << view->model()->index(row, 0, view->rootIndex()).data().toString();
        // As a person would: type the name and press Enter.
        auto *name = dialog->findChild<QLineEdit *>(u"fileNameEdit"_qs);
        name->setText(u"Red.VOL"_qs);
        QTest::keyClick(name, Qt::Key_Return);
    });
    window.findChild<QPushButton *>(u"Command2"_qs)->click();
    QCOMPARE(dialogFolder, folder.filePath(u"Tribes/Base/Skins"_qs));
    listed.sort();
    QCOMPARE(listed, QStringList({u"Red.VOL"_qs, u"blue.vol"_qs}));
    QCOMPARE(window.findChild<QLineEdit *>(u"TeamSkin1"_qs)->text(), u"Red"_qs);
}

QTEST_MAIN(SkinPickerTest)
#include "tst_skinpicker.moc"
