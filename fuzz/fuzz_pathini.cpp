// The remembered upload destination. The input is both a file found beside the program
// and a destination to remember: what is read back must be what was written (or the
// write refused), and a file read and written again must read the same.
#include "upload/pathini.h"

#include "fuzzfile.h"

#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString folder = fuzzFolder();
    writeInput(QStringLiteral("/Data/Path.ini"), data, size);
    const QString first = PathIni::read(folder);
    if (PathIni::write(folder, first))
        FUZZ_CHECK(PathIni::read(folder) == first);

    // The same bytes as UTF-16 text: a destination as the program holds it.
    std::u16string units(size / 2, u'\0');
    std::memcpy(units.data(), data, units.size() * 2);
    const QString destination = QString::fromStdU16String(units);
    if (PathIni::write(folder, destination))
        FUZZ_CHECK(PathIni::read(folder) == destination);
    return 0;
}
