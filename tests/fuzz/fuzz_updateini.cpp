// The version file fetched from the maker's web host.
#include "shell/updatecheck.h"

#include "fuzzfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QString version;
    (void)readPublishedVersion(writeInput(QStringLiteral("/Update.ini"), data, size), &version);
    (void)TrimPath(QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
