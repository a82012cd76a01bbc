// The volume-label reader on whatever a drive's first sectors hold.
#include "platform/linux/blockprobe.h"

#include "fuzzfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ProbedFs fs;
    (void)probeBlockDevice(writeInput(QStringLiteral("/volume.img"), data, size), &fs);
    QString label;
    (void)labelFromByLabel(fuzzFolder(), QStringLiteral("/dev/loop0"), &label);
    return 0;
}
