// The volume-label reader on whatever a drive's first sectors hold, and the by-label
// links udev names with libblkid's own encoding of the label.
#include "platform/linux/blockprobe.h"

#include "fuzzfile.h"

#include <blkid/blkid.h>

#include <filesystem>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    namespace fs = std::filesystem;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    ProbedFs probed;
    if (probeBlockDevice(writeInput(QStringLiteral("/volume.img"), bytes), &probed))
        FUZZ_CHECK(!probed.type.isEmpty());

    // A label of up to 63 bytes keeps its encoded link name within a file name's 255.
    const qsizetype nul = bytes.indexOf('\0');
    const QByteArray label = (nul < 0 ? bytes : bytes.left(nul)).left(63);
    char encoded[256] = {};
    if (label.isEmpty() || blkid_encode_string(label.constData(), encoded, sizeof encoded) != 0)
        return 0;
    const std::string name(encoded);
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
        return 0;
    const fs::path dir((fuzzFolder() + QStringLiteral("/dev/disk/by-label")).toStdString());
    fs::remove_all(dir);
    fs::create_directories(dir);
    const QString node = writeInput(QStringLiteral("/dev/sdz1"), QByteArray());
    fs::create_symlink("../../sdz1", dir / name);

    QString found;
    FUZZ_CHECK(labelFromByLabel(fuzzFolder(), node, &found));
    FUZZ_CHECK(found == QString::fromUtf8(label));

    // A link under any name, escapes or not, is still found. udev never makes names
    // that are not UTF-8 (it escapes such bytes), and Qt cannot list them back.
    const std::string raw = label.toStdString();
    if (raw != "." && raw != ".." && raw.find('/') == std::string::npos && raw != name
        && QString::fromUtf8(label).toUtf8() == label) {
        fs::remove(dir / name);
        fs::create_symlink("../../sdz1", dir / raw);
        FUZZ_CHECK(labelFromByLabel(fuzzFolder(), node, &found));
    }
    return 0;
}
