// The floor for any Qt Widgets program: an empty window of Tolvane's size, built as Tolvane's
// Windows program is, timed beside it under Wine.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare Qt"));
    window.resize(483, 440);
    window.show();
    return application.exec();
}
