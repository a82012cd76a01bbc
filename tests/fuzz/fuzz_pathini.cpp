// The remembered upload destination: whatever is read back, writing it again must
// give the same text (or be refused).
#include "upload/pathini.h"

#include "fuzzfile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    writeInput(QStringLiteral("/Data/Path.ini"), data, size);
    const QString first = PathIni::read(fuzzFolder());
    if (PathIni::write(fuzzFolder(), first) && PathIni::read(fuzzFolder()) != first)
        std::abort();
    return 0;
}
