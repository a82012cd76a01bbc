#include "platform/linux/mounttool.h"

#include "platform/linux/fsrules.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QThread>

#include <fcntl.h>
#include <unistd.h>

QString findTool(const QString& name)
{
    QString found = QStandardPaths::findExecutable(name);
    if (found.isEmpty())
        found = QStandardPaths::findExecutable(
            name, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin"), QStringLiteral("/usr/local/sbin")});
    return found;
}

ToolRun runTool(const QStringList& command, int timeoutMs)
{
    ToolRun r;
    if (command.isEmpty())
        return r;
    const QString program = findTool(command.first());
    if (program.isEmpty()) {
        r.output = command.first() + QStringLiteral(" is not installed");
        return r;
    }
    // Output goes to a file: a FUSE helper leaves a daemon behind that would keep a pipe open.
    QTemporaryFile out;
    if (!out.open())
        return r;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));  // tools read labels in the locale's encoding
    p.setProcessEnvironment(env);
    p.setStandardInputFile(QProcess::nullDevice());
    p.setStandardOutputFile(out.fileName());
    p.setStandardErrorFile(out.fileName(), QIODevice::Append);
    p.start(program, command.mid(1));
    if (!p.waitForStarted(10000)) {
        r.output = p.errorString();
        return r;
    }
    r.started = true;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(2000);
        r.output = command.first() + QStringLiteral(" did not finish");
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    out.seek(0);
    r.output = QString::fromLocal8Bit(out.readAll()).trimmed();
    return r;
}

bool unmountEntry(const MountEntry& mount, QString* why)
{
    const bool fuse = mount.fsType.startsWith(QLatin1String("fuse"));
    ToolRun r;
    if (fuse && geteuid() != 0) {
        r = runTool({QStringLiteral("fusermount3"), QStringLiteral("-u"), mount.mountPoint});
        if (!r.started)
            r = runTool({QStringLiteral("fusermount"), QStringLiteral("-u"), mount.mountPoint});
    } else {
        r = runTool({QStringLiteral("umount"), mount.mountPoint});
    }
    if (r.ok())
        return true;
    if (why) {
        if (r.output.contains(QLatin1String("busy")))
            *why = QStringLiteral("The drive is in use. Close the files and programs that use it, then try again.");
        else
            *why = QStringLiteral("The drive could not be unmounted: ") + r.output;
    }
    return false;
}

bool waitDeviceFree(const QString& deviceNode, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    const QByteArray path = QFile::encodeName(deviceNode);
    for (;;) {
        const int fd = ::open(path.constData(), O_RDONLY | O_EXCL | O_CLOEXEC);
        const int err = errno;
        if (fd >= 0) {
            ::close(fd);
            return true;
        }
        if (err != EBUSY)
            return true;  // cannot tell (no right to open it): let the tool decide
        if (t.elapsed() > timeoutMs)
            return false;
        QThread::msleep(20);
    }
}

static bool kernelHas(const QString& rootPrefix, const QString& fs)
{
    QFile f(rootPrefix + QStringLiteral("/proc/filesystems"));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QList<QByteArray> parts = line.simplified().split(' ');
        if (!parts.isEmpty() && QString::fromLatin1(parts.last()) == fs)
            return true;
    }
    return false;
}

bool mountDevice(const QString& device, const QString& fsType, const QString& mountPoint, const MountEntry& was,
                 const QString& rootPrefix, QString* why)
{
    QDir().mkpath(mountPoint);
    const FsRules* rules = fsRules(fsType);
    QStringList flags;
    static const QStringList kept = {QStringLiteral("ro"), QStringLiteral("nosuid"), QStringLiteral("nodev"),
                                     QStringLiteral("noexec"), QStringLiteral("noatime"), QStringLiteral("sync")};
    for (const QString& o : was.mountOptions.split(QLatin1Char(',')))
        if (kept.contains(o))
            flags << o;
    QStringList owner;
    if (rules && rules->ownerOptions) {
        for (const char* key : {"uid", "gid", "fmask", "dmask", "umask"}) {
            const QString v = was.superOption(QString::fromLatin1(key));
            if (!v.isEmpty())
                owner << QString::fromLatin1(key) + QLatin1Char('=') + v;
        }
    }
    QString kernelType = fsType == QLatin1String("ntfs") ? QStringLiteral("ntfs3") : fsType;
    ToolRun r;
    if (kernelHas(rootPrefix, kernelType)) {
        const QStringList opts = flags + owner;
        QStringList cmd{QStringLiteral("mount"), QStringLiteral("-t"), kernelType};
        if (!opts.isEmpty())
            cmd << QStringLiteral("-o") << opts.join(QLatin1Char(','));
        r = runTool(cmd << device << mountPoint);
    } else if (fsType == QLatin1String("vfat")) {
        // Without blkdev and fsname the mount would not name its device, and mkfs would format under it.
        QStringList opts{flags.contains(QLatin1String("ro")) ? QStringLiteral("ro") : QStringLiteral("rw+"),
                         QStringLiteral("blkdev"), QStringLiteral("fsname=") + device};
        if (was.hasSuperOption(QStringLiteral("allow_other")))
            opts << QStringLiteral("allow_other");
        r = runTool({QStringLiteral("fusefat"), QStringLiteral("-o"), opts.join(QLatin1Char(',')), device, mountPoint});
    } else if (rules && !rules->fuseHelper.isEmpty()) {
        QStringList cmd{rules->fuseHelper};
        if (!flags.isEmpty())
            cmd << QStringLiteral("-o") << flags.join(QLatin1Char(','));
        r = runTool(cmd << device << mountPoint);
    } else {
        if (why)
            *why = QStringLiteral("This computer cannot mount a %1 drive.").arg(fsType);
        return false;
    }
    if (r.ok())
        return true;
    if (why)
        *why = QStringLiteral("The drive could not be mounted again: ") + r.output;
    return false;
}
