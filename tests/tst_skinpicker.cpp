#include "app/sharedstrings.h"
#include "testsupport.h"
#include "ui/mainwindow.h"
#include "ui/skinname.h"
#include "widgetsupport.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>

using namespace TestSupport;

class SkinPickerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void skinName_data() { addFixtureRows("skinnames.tsv"); }
    void skinName();
    void buttonFillsItsFieldOnly();
    void realDialog();
    void typedPathLeavesNothingOnScreen();
};

void SkinPickerTest::skinName()
{
    QFETCH(QString, skinFile);
    QFETCH(QString, skinName);
    QCOMPARE(StripDir(StripExt(skinFile)), skinName);
}

void SkinPickerTest::buttonFillsItsFieldOnly()
{
    SharedStrings shared;
    MainWindow window(shared);
    QString chosen;
    window.setSkinFileChooser([&] { return chosen; });
    MessageCatcher catcher;
    for (int button = 1; button <= 8; ++button) {
        for (int index = 0; index < 54; ++index)
            window.field(index)->setText(u"old"_qs);
        // 7: a file name that a setting cannot hold, 8: cancelled
        chosen = button == 8   ? QString()
                 : button == 7 ? u"\\srv\\skins\\red\n.vol"_qs
                               : u"\\srv\\skins\\red.vol"_qs;
        window.findChild<QPushButton *>(u"Command%1"_qs.arg(button))->click();
        QCOMPARE(catcher.messages.size(), button >= 7 ? 1 : 0);
        const int filled = button >= 7 ? -1 : 33 + button; // TeamSkin0 is field 34
        for (int index = 0; index < 54; ++index)
            QCOMPARE(window.field(index)->text(), index + 1 == filled ? u"red"_qs : u"old"_qs);
    }
}

void SkinPickerTest::realDialog()
{
    QTemporaryDir folder;
    QVERIFY(QDir::setCurrent(folder.path()) && QDir().mkpath(u"Tribes/Base/Skins"_qs));
    for (const char *name : {"blue.vol", "Red.VOL", "notes.txt"})
        QVERIFY(writeBytes(u"Tribes/Base/Skins/"_qs + QLatin1StringView(name), "v"));
    QVERIFY(writeBytes(u"path.inf"_qs, QFile::encodeName(folder.filePath(u"tribes"_qs))));
    SharedStrings shared;
    MainWindow window(shared);
    window.runLoadStep();
    QCOMPARE(window.skinDirectory(), folder.filePath(u"tribes"_qs) + u"\\base\\skins"_qs);

    QStringList listed;
    QString opened;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        const auto closeAnyway = qScopeGuard([dialog] { // never left waiting for a person
            if (dialog->isVisible())
                QMetaObject::invokeMethod(dialog, "reject");
        });
        opened = dialog->directory().absolutePath();
        auto *view = dialog->findChild<QListView *>(u"listView"_qs);
        QTRY_COMPARE_WITH_TIMEOUT(view->model()->rowCount(view->rootIndex()), 2, 2000);
        for (int row = 0; row < 2; ++row)
            listed << view->model()->index(row, 0, view->rootIndex()).data().toString();
        auto *name = dialog->findChild<QLineEdit *>(u"fileNameEdit"_qs);
        name->setText(u"Red.VOL"_qs); // as a person would: type the name, press Enter
        QTest::keyClick(name, Qt::Key_Return);
    });
    window.findChild<QPushButton *>(u"Command2"_qs)->click();
    QCOMPARE(opened, folder.filePath(u"Tribes/Base/Skins"_qs));
    listed.sort();
    QCOMPARE(listed, QStringList({u"Red.VOL"_qs, u"blue.vol"_qs})); // .vol in any case
    QCOMPARE(window.field(34)->text(), u"Red"_qs);                  // TeamSkin1
}

void SkinPickerTest::typedPathLeavesNothingOnScreen()
{
    if (QGuiApplication::platformName() != u"xcb"_qs)
        QSKIP("Needs a real X display with a window manager (tests/xdisplay.sh).");
    QTemporaryDir folder;
    QVERIFY(QDir::setCurrent(folder.path()) && QDir().mkpath(u"Tribes/base/skins"_qs));
    QVERIFY(writeBytes(u"Tribes/base/skins/blue.vol"_qs, "v"));
    QVERIFY(writeBytes(u"path.inf"_qs, QFile::encodeName(folder.filePath(u"Tribes"_qs))));
    qputenv("HOME", QFile::encodeName(folder.path()));
    SharedStrings shared;
    MainWindow window(shared);
    window.runLoadStep();
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    // Keys as a user types them, through the X server to whatever has the keyboard.
    const auto type = [](const QStringList &arguments) {
        QCOMPARE(QProcess::execute(u"xdotool"_qs, arguments), 0);
    };
    const QString typed = folder.filePath(u"Tribes/base/skins/blue.vol"_qs);
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        const auto closeAnyway = qScopeGuard([dialog] { // never left waiting for a person
            if (dialog->isVisible())
                QMetaObject::invokeMethod(dialog, "reject");
        });
        QTRY_VERIFY(dialog->isActiveWindow());
        type({u"type"_qs, u"--delay"_qs, u"10"_qs, typed});
        QTRY_COMPARE(dialog->findChild<QLineEdit *>(u"fileNameEdit"_qs)->text(), typed);
        type({u"key"_qs, u"Return"_qs});
        QTRY_VERIFY(!dialog->isVisible());
    });
    window.findChild<QPushButton *>(u"Command1"_qs)->click();
    QCOMPARE(window.field(33)->text(), u"blue"_qs); // TeamSkin0
    // Nothing of the dialog is left on screen, and the next key reaches the main window.
    QTRY_VERIFY(!QApplication::activePopupWidget());
    type({u"key"_qs, u"ctrl+b"_qs});
    QTRY_VERIFY(QFile::exists(u"test.txt"_qs));
}

QTEST_MAIN(SkinPickerTest)
#include "tst_skinpicker.moc"
