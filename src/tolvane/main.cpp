#include "session.h"

#include <QApplication>

#ifdef Q_OS_WIN
#include "nativepath.h"

#include <QDir>
#include <QFileInfo>
#endif

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

#ifdef Q_OS_LINUX
namespace {

const char NoDisplay[] = "tolvane: no display to show a window on; over SSH use tolvane-cli "
                         "(man tolvane-cli)\n";

// Qt ends a program whose display cannot be opened with a fatal message and an abort; an
// admin over SSH needs a plain word and a plain failure instead.
void endWithoutDisplay(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
        return;
    }
    std::fputs(NoDisplay, stderr);
    std::_Exit(1);
}

} // namespace
#endif

int main(int argc, char *argv[])
{
#ifdef Q_OS_LINUX
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fputs(NoDisplay, stderr);
        return 1;
    }
    qInstallMessageHandler(endWithoutDisplay);
#endif
    QApplication application(argc, argv);
#ifdef Q_OS_LINUX
    qInstallMessageHandler(nullptr);
#endif
    QApplication::setApplicationName(u"Tolvane"_s);
#ifdef Q_OS_WIN
    // Started from the Start menu or by a double click, the working folder is the program's
    // own, where nothing may be written: Tolvane works in a folder of its own, as the desktop
    // menu's launcher has it do on Linux.
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    if (QFileInfo::exists(QDir::current().filePath(program))) {
        const QString folder = Platform::launcherFolder();
        QDir().mkpath(folder);
        QDir::setCurrent(folder);
    }
#endif
    Session session;
    session.showMain();
    return application.exec();
}
