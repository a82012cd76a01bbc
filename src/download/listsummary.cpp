#include "download/listsummary.h"

ListSummaryText listSummary(qint64 count, FixedBytes total)
{
    const int64_t bytes = fromFixed(total);
    const double t = double(bytes);
    const double mb = roundHalfAway(t / 1048576.0);
    const double gb = roundHalfAway(t / 1073741824.0);
    const double kb = roundHalfAway(t / 1024.0);
    auto n = [](double v) { return QString::number(qint64(v)); };
    const QString head = QString::number(count) + QStringLiteral(" files - ");
    QString size = n(mb) + QStringLiteral(" MB");
    if (mb > 1024) {
        size = n(mb) + QStringLiteral(" MB (") + n(gb) + QStringLiteral(" GB)");
    } else if (mb < 1) {
        size = n(kb) + QStringLiteral(" KB");
        if (kb < 1)
            size = QString::number(bytes) + QStringLiteral(" Bytes");
    }
    return {head + size, size};
}
