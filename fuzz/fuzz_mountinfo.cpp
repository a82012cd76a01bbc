// The mount table parser, fed any text.
#include "platform/linux/mounttable.h"

#include "fuzzfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<MountEntry> mounts = parseMountInfo(text);
    // At most one entry a line.
    FUZZ_CHECK(mounts.size() <= text.count('\n') + 1);
    for (const MountEntry& m : mounts) {
        (void)m.readOnly();
        (void)m.superOption(QStringLiteral("fsname"));
        (void)m.hasSuperOption(QStringLiteral("ro"));
        FUZZ_CHECK(!m.mountOptions.contains(QLatin1Char(' ')) && !m.mountOptions.contains(QLatin1Char('\n')));
    }
    // A field without an escape comes back as it was.
    if (!text.contains('\\'))
        FUZZ_CHECK(unescapeMountField(text) == QString::fromUtf8(text));
    return 0;
}
