#include "session.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(u"Tolvane"_qs);
    Session session;
    session.showMain();
    return application.exec();
}
