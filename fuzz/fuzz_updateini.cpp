// The version file fetched from the maker's web host: whatever it holds, a version is
// one short printable field, or nothing.
#include "shell/updatecheck.h"

#include "fuzzfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QString version;
    if (readPublishedVersion(writeInput(QStringLiteral("/Update.ini"), bytes), &version)) {
        FUZZ_CHECK(!version.trimmed().isEmpty());
        FUZZ_CHECK(!version.contains(QLatin1Char(',')));
        for (const QChar c : version)
            FUZZ_CHECK(c.isPrint());
        // The field comes from the first line and is never longer than it.
        const QByteArray first = bytes.indexOf('\n') < 0 ? bytes : bytes.left(bytes.indexOf('\n'));
        FUZZ_CHECK(version.toUtf8().size() <= first.size());
    }
    const QString text = QString::fromUtf8(bytes);
    const QString tail = TrimPath(text);
    FUZZ_CHECK(!tail.contains(QLatin1Char('/')));
    FUZZ_CHECK(text.endsWith(tail));
    return 0;
}
