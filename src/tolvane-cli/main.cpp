#include "cli.h"

#include <QCoreApplication>
#include <QFile>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    // UTF-8, whatever the locale says.
    QStringList arguments;
    for (int index = 0; index < argc; ++index)
        arguments << QString::fromUtf8(argv[index]);
    QFile in;
    QFile out;
    QFile err;
    if (!in.open(stdin, QIODevice::ReadOnly) || !out.open(stdout, QIODevice::WriteOnly)
        || !err.open(stderr, QIODevice::WriteOnly))
        return Cli::Failure;
    return Cli::run(arguments, in, out, err);
}
