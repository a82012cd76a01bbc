// The first-run flag file beside the program.
#include "shell/firstrun.h"

#include "fuzzfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    int16_t value = 0;
    (void)readRunFlag(writeInput(QStringLiteral("/Config.ini"), data, size), &value);
    return 0;
}
