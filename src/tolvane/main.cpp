#include "session.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

#ifdef Q_OS_WIN
#include "messagebox.h"
#include "nativepath.h"

#include <QFileInfo>

#include <windows.h>

#include <shellapi.h>
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

namespace {

const char Usage[] = R"(Usage: tolvane [DIR]
The editor for the server preferences of the game Tribes, DIR\config\ServerPrefs.cs.

DIR is the game folder for this run, relative to the working folder; path.inf, which names
the game folder otherwise, is left alone until Ok in the path dialog. On Linux a drive letter
is a drive of the Wine prefix that WINEPREFIX names (an absolute path), else ~/.wine.

Options:
  -h, --help     this text
  -v, --version  the version

Exit status: 0 when the window closed; 1 when there is no display; 2 for a wrong argument.
Over SSH, or on a server without a desktop, use tolvane-cli (man tolvane-cli).
)";

// Prints the text where the user started the program: the terminal, or on Windows the console
// that started it, or a message box when there is none.
void tell(const QString &text, bool failed)
{
#ifdef Q_OS_WIN
    if (!::AttachConsole(ATTACH_PARENT_PROCESS)) {
        int count = 1;
        char name[] = "tolvane";
        char *names[] = {name, nullptr};
        QApplication application(count, names);
        showMessage(nullptr, text);
        return;
    }
    std::FILE *stream = nullptr;
    freopen_s(&stream, "CONOUT$", "w", failed ? stderr : stdout);
#endif
    std::fputs(text.toLocal8Bit().constData(), failed ? stderr : stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    // Read before any display is opened: --help and --version need none.
    QStringList arguments;
#ifdef Q_OS_WIN
    // From the wide command line: argv holds the arguments in the code page.
    int count = 0;
    wchar_t **wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    for (int index = 0; index < count; ++index)
        arguments << QString::fromWCharArray(wide[index]);
    ::LocalFree(wide);
#else
    for (int index = 0; index < argc; ++index)
        arguments << QString::fromLocal8Bit(argv[index]);
#endif
    QCommandLineParser parser;
    const QCommandLineOption help{{u"h"_s, u"help"_s}}, version{{u"v"_s, u"version"_s}};
    parser.addOptions({help, version});
    if (!parser.parse(arguments) || parser.positionalArguments().size() > 1) {
        tell(u"tolvane: %1\nSee tolvane --help.\n"_s.arg(parser.errorText().isEmpty()
                                                                 ? u"one game folder at most"_s
                                                                 : parser.errorText()),
             true);
        return 2;
    }
    if (parser.isSet(help) || parser.isSet(version)) {
        tell(parser.isSet(help) ? QString::fromUtf8(Usage) : u"tolvane " TOLVANE_VERSION "\n"_s,
             false);
        return 0;
    }
    // Resolved now: the working folder may change below.
    const QString given
            = parser.positionalArguments().isEmpty()
                      ? QString()
                      : QDir::current().absoluteFilePath(parser.positionalArguments().first());
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
    session.shared().GivenFolder = given;
    session.showMain();
    return application.exec();
}
