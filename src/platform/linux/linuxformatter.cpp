#include "platform/linux/linuxformatter.h"

#include "platform/linux/blockprobe.h"
#include "platform/linux/fsrules.h"
#include "platform/linux/linuxvolumes.h"
#include "platform/linux/mounttool.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>

#include <unistd.h>

namespace {
bool setWhy(QString* why, const QString& text)
{
    if (why)
        *why = text;
    return false;
}
} // namespace

bool LinuxFormatter::canFormat(const QString& fileSystem, QString* why)
{
    const FsRules* rules = fsRules(fileSystem);
    if (!rules)
        return setWhy(why, QStringLiteral("This program cannot make a %1 file system.").arg(fileSystem));
    if (UDisksClient* ud = config_.useUDisks ? volumes_.udisks() : nullptr) {
        bool possible = false;
        QString missing;
        UDisksClient::Error e;
        if (ud->canFormat(rules->type, &possible, &missing, &e)) {
            if (possible)
                return true;
            return setWhy(why, QStringLiteral("%1 needs %2, which is not installed.").arg(rules->displayName, missing));
        }
    }
    if (findTool(rules->mkfsTool).isEmpty())
        return setWhy(why, QStringLiteral("%1 needs %2, which is not installed.").arg(rules->displayName, rules->mkfsTool));
    return true;
}

bool LinuxFormatter::format(const QString& root, const Options& options, QString* why)
{
    if (volumes_.busy_)
        return setWhy(why, QStringLiteral("Another operation on a drive is still running."));
    const std::optional<MappedDrive> d = volumes_.drive(root);
    if (!d)
        return setWhy(why, QStringLiteral("The drive is not there."));
    if (d->type != Volumes::Removable || d->blockName.isEmpty())
        return setWhy(why, QStringLiteral("Only a removable drive can be formatted."));
    const DriveMap& map = volumes_.map();
    if (d->mount.mountPoint == QLatin1String("/") || d->blockName == map.rootBlock()
        || (!map.rootDisk().isEmpty() && d->diskName == map.rootDisk()))
        return setWhy(why, QStringLiteral("This drive holds the system and cannot be formatted."));
    const QString holders = volumes_.config_.rootPrefix + QStringLiteral("/sys/class/block/") + d->blockName
                            + QStringLiteral("/holders");
    if (!QDir(holders).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot))
        return setWhy(why, QStringLiteral("The drive is in use by another device and cannot be formatted."));
    const FsRules* rules = fsRules(options.fileSystem);
    if (!rules)
        return setWhy(why, QStringLiteral("This program cannot make a %1 file system.").arg(options.fileSystem));
    if (!rules->checkLabel(options.label, why))
        return false;
    if (!canFormat(rules->type, why))
        return false;

    volumes_.busy_ = true;
    const auto done = qScopeGuard([this] { volumes_.busy_ = false; });
    UDisksClient* ud = config_.useUDisks ? volumes_.udisks() : nullptr;
    const QString node = d->deviceNode;
    auto work = [&](QString* w) {
        if (ud) {
            QVariantMap o;
            if (!options.label.isEmpty())
                o.insert(QStringLiteral("label"), options.label);
            if (!options.quick)
                o.insert(QStringLiteral("erase"), QStringLiteral("zero"));
            o.insert(QStringLiteral("take-ownership"), true);
            UDisksClient::Error e;
            if (ud->format(d->blockName, rules->type, o, &e))
                return true;
            *w = QStringLiteral("The drive could not be formatted: ") + e.message;
            return false;
        }
        const QString owner = rules->ownerOptions ? QString() : QStringLiteral("%1:%2").arg(getuid()).arg(getgid());
        const ToolRun r = runTool(rules->mkfsCommand(node, options.label, options.quick, owner), 24 * 3600 * 1000);
        if (r.ok())
            return true;
        *w = QStringLiteral("The drive could not be formatted: ") + r.output;
        return false;
    };
    if (!volumes_.whileUnmounted(*d, ud != nullptr, work, why))
        return false;
    ProbedFs p;
    if (probeBlockDevice(node, &p) && (p.type != rules->type || p.label != options.label))
        return setWhy(why, QStringLiteral("The drive does not show the new file system."));
    return true;
}
