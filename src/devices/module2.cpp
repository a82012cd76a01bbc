#include "devices/module2.h"

#include "platform/dialogs.h"
#include "platform/volumes.h"

#include <QtGlobal>
#include <cfenv>
#include <bit>
#include <cmath>

double roundHalfAway(double v)
{
    return std::round(v);
}

double roundHalfEven(double v)
{
    const int old = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(v);
    std::fesetround(old);
    return r;
}

double BytesToDouble(int32_t low, int32_t high)
{
    double l = low, h = high;
    if (l < 0)
        l += 4294967296.0;
    if (h < 0)
        h += 4294967296.0;
    return h * 4294967296.0 + l;
}

static QString num(double whole)
{
    return QString::number(static_cast<long long>(whole));
}

QString sizeTextA(double b)
{
    const double mb = roundHalfAway(b / 1048576.0);
    const double kb = roundHalfAway(b / 1024.0);
    QString text = num(mb) + QStringLiteral(" MB");
    if (mb > 1024)
        text = num(mb) + QStringLiteral(" MB (") + num(roundHalfAway(b / 1073741824.0)) + QStringLiteral(" GB) ");
    if (mb < 1)
        text = num(kb) + QStringLiteral(" KB");
    if (kb < 1)
        text = num(roundHalfAway(b)) + QStringLiteral(" Bytes");
    return text;
}

QString sizeTextB(FixedBytes total)
{
    // Whole megabytes in 64 bits: a 2 TB drive keeps its real size.
    const double m = double(total) / double(kFixedScale) / 1024.0 / 1024.0;
    const double M = roundHalfEven(m);
    if (m >= 1024)
        return num(M) + QStringLiteral(" MB (") + num(roundHalfEven(M / 1024.0)) + QStringLiteral(" GB)");
    if (m <= 0)
        return QStringLiteral("0 KB");
    return num(M) + QStringLiteral(" MB");
}

int Module2::CountDrives()
{
    const uint32_t mask = volumes_.logicalDrives() & ((1u << 26) - 1);
    return std::popcount(mask);
}

FixedBytes Module2::DriveTotalBytes(const QString& root)
{
    Volumes::ClusterFigures c;
    if (!volumes_.clusterFigures(root, &c))
        return 0;
    // 64-bit throughout: the sector count of a large drive does not fit in 32 bits.
    return FixedBytes(c.sectorsPerCluster * c.totalClusters) * FixedBytes(c.bytesPerSector) * kFixedScale;
}

bool Module2::DriveFreeBytes(const QString& root, FixedBytes* free)
{
    Volumes::ClusterFigures c;
    const bool ok = volumes_.clusterFigures(root, &c);
    *free = ok ? FixedBytes(c.sectorsPerCluster * c.freeClusters) * FixedBytes(c.bytesPerSector) * kFixedScale : 0;
    return ok;
}

FixedBytes Module2::DriveFreeBytes(const QString& root)
{
    FixedBytes f = 0;
    DriveFreeBytes(root, &f);
    return f;
}

QString Module2::GetDriveName(const QString& root)
{
    QString label;
    if (!volumes_.volumeLabel(root, &label))
        return {};
    const qsizetype nul = label.indexOf(QChar(0));
    if (nul >= 0)
        label.truncate(nul);
    return label.left(127);
}

void Module2::SetDriveName(const QString& root, const QString& name, QWidget* owner)
{
    QString why;
    if (volumes_.setVolumeLabel(root, name, &why))
        return;
    // The box says no more than that; whoever started the program from a terminal sees why.
    qWarning("Drive %s was not renamed: %s", qPrintable(root), qPrintable(why));
    dialogs_.message(owner, QStringLiteral("Name not set!"), QStringLiteral("Error!"), Dialogs::Icon::Critical,
                     Dialogs::Buttons::Ok);
}

static double toDouble(uint64_t v)
{
    return BytesToDouble(int32_t(uint32_t(v & 0xffffffffu)), int32_t(uint32_t(v >> 32)));
}

Module2::Space Module2::spaceQuery(const QString& root)
{
    Volumes::SpaceCounts s;
    volumes_.spaceCounts(root, &s);  // a failed query leaves zeros
    return {toDouble(s.available), toDouble(s.total), toDouble(s.totalFree)};
}

QString Module2::DriveSizeinMB(const QString& root)
{
    return num(roundHalfAway(spaceQuery(root).total / 1048576.0));
}

QString Module2::DriveUsedinMB(const QString& root)
{
    const Space s = spaceQuery(root);
    return num(roundHalfAway((s.total - s.totalFree) / 1048576.0));
}

static QString mbGbLabel(double bytes)
{
    return num(roundHalfAway(bytes / 1048576.0)) + QStringLiteral(" MB (") + num(roundHalfAway(bytes / 1073741824.0))
           + QStringLiteral(" GB) ");
}

QString Module2::DriveSizeLabel(const QString& root)
{
    return mbGbLabel(spaceQuery(root).total);
}

QString Module2::DriveUsedLabel(const QString& root)
{
    const Space s = spaceQuery(root);
    return mbGbLabel(s.total - s.totalFree);
}

Module2::Usage Module2::usage(const QString& root, const QString& shownRoot)
{
    Usage u;
    u.maximum = DriveSizeinMB(root).toInt();
    u.value = DriveUsedinMB(root).toInt();
    const QString used = DriveUsedLabel(root);
    u.caption = QStringLiteral("Drive ") + shownRoot + QStringLiteral(" has ") + used + QStringLiteral(" of ")
                + DriveSizeLabel(root) + QStringLiteral(" Max used");
    return u;
}
