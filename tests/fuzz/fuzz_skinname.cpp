// Any text as the chosen skin file: the skin name is its tail, without a backslash and
// without the last four characters.
#include "fuzzsupport.h"
#include "ui/skinname.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString skinFile = QString::fromUtf8(fuzzBytes(data, size));
    const QString withoutExtension = StripExt(skinFile);
    const QString skinName = StripDir(withoutExtension);
    FUZZ_CHECK(withoutExtension.size() == qMax<qsizetype>(skinFile.size() - 4, 0));
    FUZZ_CHECK(skinFile.startsWith(withoutExtension) && withoutExtension.endsWith(skinName));
    FUZZ_CHECK(!skinName.contains(u'\\'));
    return 0;
}
