#include "platform/linux/fsrules.h"

#include <array>

namespace {

const std::array<FsRules, 5>& table()
{
    static const std::array<FsRules, 5> rules = {{
        {QStringLiteral("vfat"), QStringLiteral("FAT32"), 11, false, true, QStringLiteral("*?.,;:/\\|+=<>[]\""), false,
         QStringLiteral("fatlabel"), QStringLiteral("mkfs.vfat"), QStringLiteral("fusefat"), true},
        {QStringLiteral("exfat"), QStringLiteral("exFAT"), 15, false, false, QString(), false,
         QStringLiteral("exfatlabel"), QStringLiteral("mkfs.exfat"), QStringLiteral("mount.exfat-fuse"), true},
        {QStringLiteral("ntfs"), QStringLiteral("NTFS"), 32, false, false, QString(), false,
         QStringLiteral("ntfslabel"), QStringLiteral("mkfs.ntfs"), QStringLiteral("ntfs-3g"), true},
        {QStringLiteral("ext4"), QStringLiteral("ext4"), 16, true, false, QString(), true, QStringLiteral("e2label"),
         QStringLiteral("mkfs.ext4"), QString(), false},
        // ext2/ext3 share ext4's rules; only their mkfs differs.
        {QStringLiteral("ext3"), QStringLiteral("ext3"), 16, true, false, QString(), true, QStringLiteral("e2label"),
         QStringLiteral("mkfs.ext3"), QString(), false},
    }};
    return rules;
}

const FsRules& ext2Rules()
{
    static const FsRules r = [] {
        FsRules x = table()[3];
        x.type = x.displayName = QStringLiteral("ext2");
        x.mkfsTool = QStringLiteral("mkfs.ext2");
        return x;
    }();
    return r;
}

} // namespace

const FsRules* fsRules(const QString& type)
{
    const QString t = type.toLower();
    if (t == QLatin1String("ext2"))
        return &ext2Rules();
    for (const FsRules& r : table()) {
        if (t == r.type || t == r.displayName.toLower())
            return &r;
    }
    if (t == QLatin1String("fat") || t == QLatin1String("msdos") || t == QLatin1String("fat16"))
        return &table()[0];
    if (t == QLatin1String("ntfs3"))
        return &table()[2];
    return nullptr;
}

QStringList formattableFileSystems()
{
    return {QStringLiteral("vfat"), QStringLiteral("exfat"), QStringLiteral("ntfs"), QStringLiteral("ext4")};
}

bool FsRules::checkLabel(const QString& label, QString* why) const
{
    auto refuse = [&](const QString& reason) {
        if (why)
            *why = reason;
        return false;
    };
    for (const QChar c : label) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return refuse(QStringLiteral("A drive name cannot hold control characters."));
        if (asciiOnly && c.unicode() > 0x7e)
            return refuse(QStringLiteral("A %1 drive name may hold only plain letters, digits and common signs.")
                              .arg(displayName));
        if (forbidden.contains(c))
            return refuse(QStringLiteral("A %1 drive name cannot hold any of %2").arg(displayName, forbidden));
    }
    const qsizetype length = labelInBytes ? label.toUtf8().size() : label.size();
    if (length > maxLabel)
        return refuse(QStringLiteral("A %1 drive name can be at most %2 %3 long.")
                          .arg(displayName)
                          .arg(maxLabel)
                          .arg(labelInBytes ? QStringLiteral("bytes") : QStringLiteral("characters")));
    if (type == QLatin1String("vfat") && !label.isEmpty() && label.trimmed().isEmpty())
        return refuse(QStringLiteral("A FAT32 drive name cannot be only blanks."));
    return true;
}

QStringList FsRules::labelCommand(const QString& device, const QString& label) const
{
    if (type == QLatin1String("vfat") && label.isEmpty())
        return {labelTool, QStringLiteral("-r"), device};  // fatlabel refuses an empty name
    return {labelTool, device, label};
}

QStringList FsRules::mkfsCommand(const QString& device, const QString& label, bool quick, const QString& owner) const
{
    QStringList c{mkfsTool};
    if (type == QLatin1String("vfat")) {
        c << QStringLiteral("-F") << QStringLiteral("32") << QStringLiteral("-I");
        if (!label.isEmpty())
            c << QStringLiteral("-n") << label;
        if (!quick)
            c << QStringLiteral("-c");
    } else if (type == QLatin1String("exfat")) {
        if (!label.isEmpty())
            c << QStringLiteral("-L") << label;
        if (!quick)
            c << QStringLiteral("--full-format");
    } else if (type == QLatin1String("ntfs")) {
        c << QStringLiteral("-F");
        if (!label.isEmpty())
            c << QStringLiteral("-L") << label;
        if (quick)
            c << QStringLiteral("-Q");
    } else {
        c << QStringLiteral("-F") << QStringLiteral("-q");
        if (!label.isEmpty())
            c << QStringLiteral("-L") << label;
        if (!owner.isEmpty())
            c << QStringLiteral("-E") << QStringLiteral("root_owner=") + owner;
        if (!quick)
            c << QStringLiteral("-c");
    }
    c << device;
    return c;
}
