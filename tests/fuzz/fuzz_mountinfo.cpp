// The mount table parser and the drive-letter map built on it, fed any text.
#include "platform/linux/drivemap.h"
#include "platform/linux/mounttable.h"

#include "fuzzfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<MountEntry> mounts = parseMountInfo(text);
    for (const MountEntry& m : mounts) {
        (void)m.readOnly();
        (void)m.superOption(QStringLiteral("fsname"));
        (void)m.hasSuperOption(QStringLiteral("ro"));
    }
    (void)unescapeMountField(text);

    // An empty system tree: every mount is judged from the table alone.
    DriveMap map({fuzzFolder(), fuzzFolder() + QStringLiteral("/home")});
    map.update(mounts);
    map.update(mounts);
    for (QChar letter = QLatin1Char('A'); letter <= QLatin1Char('Z'); letter = QChar(letter.unicode() + 1))
        (void)map.byLetter(letter);
    (void)map.byRoot(QString::fromUtf8(text.left(8)));
    return 0;
}
