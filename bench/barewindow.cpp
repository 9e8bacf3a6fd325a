// The floor for a window like Tolvane's: a plain Qt window titled "Tolvane" of its size, 54
// line edits on six tab pages, built as Tolvane is on each platform and timed beside it.
#include <QApplication>
#include <QFormLayout>
#include <QLineEdit>
#include <QTabWidget>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QTabWidget window;
    window.setWindowTitle(QStringLiteral("Tolvane"));
    for (int page = 0; page < 6; ++page) {
        auto *fields = new QWidget;
        auto *layout = new QFormLayout(fields);
        for (int field = 0; field < 9; ++field)
            layout->addRow(QStringLiteral("Setting %1").arg(page * 9 + field + 1), new QLineEdit);
        window.addTab(fields, QStringLiteral("Page %1").arg(page + 1));
    }
    window.resize(483, 440);
    window.show();
    return application.exec();
}
