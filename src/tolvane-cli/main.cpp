#include "cli.h"
#include "codepage.h"

#include <QCoreApplication>
#include <QFile>

#ifdef Q_OS_WIN
#include <QStringDecoder>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace {

// A console takes UTF-16 text whatever its code page; the tool's UTF-8 is turned into it.
// Pipes and files take the console's code page, as the tool writes them.
class ConsoleWriter : public QIODevice
{
public:
    explicit ConsoleWriter(HANDLE console)
        : m_console(console)
    {}

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        const QString text = m_decoder.decode(QByteArrayView(data, size));
        DWORD written = 0;
        return ::WriteConsoleW(m_console, text.utf16(), DWORD(text.size()), &written, nullptr)
                       ? size
                       : -1;
    }

private:
    HANDLE m_console;
    QStringDecoder m_decoder{QStringDecoder::Utf8};
};

// The console behind a standard stream, or nullptr for a pipe or a file.
HANDLE consoleOf(DWORD stream)
{
    HANDLE handle = ::GetStdHandle(stream);
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode) ? handle : nullptr;
}

} // namespace
#endif

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
#ifdef Q_OS_WIN
    // From the wide command line: argv holds the arguments in the code page, "?" for the rest.
    const QStringList arguments = QCoreApplication::arguments();
#else
    // UTF-8, whatever the locale says.
    QStringList arguments;
    for (int index = 0; index < argc; ++index)
        arguments << QString::fromUtf8(argv[index]);
#endif
    QFile in;
    QFile outFile;
    QFile errFile;
    if (!in.open(stdin, QIODevice::ReadOnly) || !outFile.open(stdout, QIODevice::WriteOnly)
        || !errFile.open(stderr, QIODevice::WriteOnly))
        return Cli::Failure;
#ifdef Q_OS_WIN
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    ConsoleWriter outConsole(consoleOf(STD_OUTPUT_HANDLE));
    ConsoleWriter errConsole(consoleOf(STD_ERROR_HANDLE));
    QIODevice &out = consoleOf(STD_OUTPUT_HANDLE) ? static_cast<QIODevice &>(outConsole) : outFile;
    QIODevice &err = consoleOf(STD_ERROR_HANDLE) ? static_cast<QIODevice &>(errConsole) : errFile;
    outConsole.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    errConsole.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    // A pipe or a file of a program with a console is written in the console's code page.
    const unsigned page = Platform::redirectedOutputCodePage();
    const Cli::CodePages pages{consoleOf(STD_OUTPUT_HANDLE) ? 0 : page,
                               consoleOf(STD_ERROR_HANDLE) ? 0 : page};
#else
    QIODevice &out = outFile;
    QIODevice &err = errFile;
    const Cli::CodePages pages;
#endif
    return Cli::run(arguments, in, out, err, pages);
}
