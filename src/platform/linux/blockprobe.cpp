#include "platform/linux/blockprobe.h"

#include <QDir>
#include <QFileInfo>

#include <blkid/blkid.h>

bool probeBlockDevice(const QString& deviceNode, ProbedFs* out)
{
    *out = {};
    blkid_probe pr = blkid_new_probe_from_filename(QFile::encodeName(deviceNode).constData());
    if (!pr)
        return false;
    blkid_probe_enable_superblocks(pr, 1);
    blkid_probe_set_superblocks_flags(pr, BLKID_SUBLKS_LABEL | BLKID_SUBLKS_TYPE);
    // A file system written over an old partition table leaves its traces; the file system counts.
    blkid_probe_enable_partitions(pr, 0);
    const int rc = blkid_do_safeprobe(pr);
    if (rc == 0) {
        const char* v = nullptr;
        size_t len = 0;
        if (blkid_probe_lookup_value(pr, "TYPE", &v, &len) == 0 && v)
            out->type = QString::fromUtf8(v);
        if (blkid_probe_lookup_value(pr, "LABEL", &v, &len) == 0 && v)
            out->label = QString::fromUtf8(v);
    }
    blkid_free_probe(pr);
    return rc == 0;
}

static QString unescapeUdev(const QString& name)
{
    QByteArray raw = QFile::encodeName(name), out;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw.at(i) == '\\' && i + 3 < raw.size() && raw.at(i + 1) == 'x') {
            bool ok = false;
            const int v = raw.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                out.append(char(v));
                i += 3;
                continue;
            }
        }
        out.append(raw.at(i));
    }
    return QString::fromUtf8(out);
}

bool labelFromByLabel(const QString& rootPrefix, const QString& deviceNode, QString* label)
{
    label->clear();
    const QDir dir(rootPrefix + QStringLiteral("/dev/disk/by-label"));
    const QString target = QFileInfo(deviceNode).canonicalFilePath();
    if (!dir.exists() || target.isEmpty())
        return false;
    // A label may begin with a dot, and so may its link.
    for (const QFileInfo& link : dir.entryInfoList(QDir::System | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (link.canonicalFilePath() == target) {
            *label = unescapeUdev(link.fileName());
            return true;
        }
    }
    return false;
}
