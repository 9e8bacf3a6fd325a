// Any text as a file name of the program's own form: a name of this machine comes out,
// with "/" as its only separator and no empty name part.
#include "fuzzsupport.h"
#include "platform/nativepath.h"

#include <QDir>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Drive letters and relative names land in a sandbox of the run's own.
    static QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    QDir(home.path()).mkpath(QStringLiteral(".wine/dosdevices/c:/Dynamix/Tribes/Config"));
    QDir::setCurrent(home.path());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString name = QString::fromUtf8(fuzzBytes(data, qMin<size_t>(size, 512)));
    const QString native = Platform::nativeFileName(name);
    FUZZ_CHECK(!native.isEmpty() && !native.contains(u'\\'));
    FUZZ_CHECK(!native.contains(QLatin1StringView("//")));
    return 0;
}
