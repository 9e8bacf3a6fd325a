#include "session.h"

#include <QApplication>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(u"Tolvane"_s);
    Session session;
    session.showMain();
    return application.exec();
}
