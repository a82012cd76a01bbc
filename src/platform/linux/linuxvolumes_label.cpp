#include "platform/linux/blockprobe.h"
#include "platform/linux/fsrules.h"
#include "platform/linux/linuxvolumes.h"
#include "platform/linux/mounttool.h"

#include <QScopeGuard>

namespace {

// The kernel's and FUSE's names of a file system, as libblkid names it.
QString canonicalType(const QString& t)
{
    if (t == QLatin1String("msdos") || t == QLatin1String("fat"))
        return QStringLiteral("vfat");
    if (t == QLatin1String("ntfs3"))
        return QStringLiteral("ntfs");
    return t;
}

bool isFuse(const QString& t)
{
    return t == QLatin1String("fuseblk") || t.startsWith(QLatin1String("fuse"));
}

} // namespace

QString LinuxVolumes::probedType(const MappedDrive& d)
{
    ProbedFs p;
    if (!d.deviceNode.isEmpty() && probeBlockDevice(d.deviceNode, &p))
        return canonicalType(p.type);
    return {};
}

QString LinuxVolumes::fileSystemType(const MappedDrive& d)
{
    if (!isFuse(d.mount.fsType) && !d.mount.fsType.isEmpty())
        return canonicalType(d.mount.fsType);
    if (UDisksClient* ud = udisks()) {
        QString t;
        if (ud->idType(d.blockName, &t) && !t.isEmpty())
            return canonicalType(t);
    }
    return probedType(d);
}

bool LinuxVolumes::readLabel(const MappedDrive& d, QString* label)
{
    label->clear();
    if (d.blockName.isEmpty())
        return true;  // network and RAM drives carry no label of their own
    if (UDisksClient* ud = udisks()) {
        if (ud->idLabel(d.blockName, label))
            return true;
    }
    ProbedFs p;
    if (probeBlockDevice(d.deviceNode, &p)) {
        *label = p.label;
        return true;
    }
    return labelFromByLabel(config_.rootPrefix, d.deviceNode, label);
}

bool LinuxVolumes::volumeLabel(const QString& root, QString* label)
{
    label->clear();
    const std::optional<MappedDrive> d = drive(root);
    return d && readLabel(*d, label);
}

bool LinuxVolumes::setVolumeLabel(const QString& root, const QString& label, QString* why)
{
    auto fail = [&](const QString& reason) {
        if (why)
            *why = reason;
        return false;
    };
    if (busy_)
        return fail(QStringLiteral("Another operation on a drive is still running."));
    const std::optional<MappedDrive> d = drive(root);
    if (!d)
        return fail(QStringLiteral("The drive is not there."));
    if (d->blockName.isEmpty())
        return fail(QStringLiteral("This drive cannot be renamed."));
    const QString type = fileSystemType(*d);
    const FsRules* rules = fsRules(type);
    if (!rules)
        return fail(type.isEmpty() ? QStringLiteral("The drive's file system is not known.")
                                   : QStringLiteral("A %1 drive cannot be renamed here.").arg(type));
    if (!rules->checkLabel(label, why))
        return false;

    busy_ = true;
    const auto done = qScopeGuard([this] { busy_ = false; });
    QString reason;
    bool written = false;
    if (UDisksClient* ud = udisks()) {
        UDisksClient::Error e;
        written = ud->setLabel(d->blockName, label, &e);
        if (!written && e.name == QLatin1String(UDisksClient::kNotSupported)) {
            // The service will not relabel some file systems while mounted.
            written = whileUnmounted(*d, true, [&](QString* w) {
                UDisksClient::Error e2;
                if (ud->setLabel(d->blockName, label, &e2))
                    return true;
                *w = QStringLiteral("The drive did not take the new name: ") + e2.message;
                return false;
            }, &reason);
        } else if (!written) {
            reason = QStringLiteral("The drive did not take the new name: ") + e.message;
        }
    } else {
        const QStringList command = rules->labelCommand(d->deviceNode, label);
        auto relabel = [&](QString* w) {
            const ToolRun r = runTool(command);
            if (r.ok())
                return true;
            *w = QStringLiteral("The drive did not take the new name: ") + r.output;
            return false;
        };
        written = rules->relabelMounted ? relabel(&reason) : whileUnmounted(*d, false, relabel, &reason);
    }
    if (!written)
        return fail(reason);

    // Some label tools report success when the write did not happen: believe only the drive.
    const std::optional<MappedDrive> after = drive(root);
    QString now;
    ProbedFs p;
    bool read = false;
    if (after && probeBlockDevice(after->deviceNode, &p)) {
        now = p.label;
        read = true;
    } else if (after) {
        read = readLabel(*after, &now);
    }
    if (!read)
        return fail(QStringLiteral("The new name could not be read back from the drive."));
    if (now != label)
        return fail(QStringLiteral("The drive kept the name \"%1\".").arg(now));
    return true;
}
