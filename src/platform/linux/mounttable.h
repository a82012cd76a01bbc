#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

// One line of /proc/self/mountinfo, with the kernel's octal escapes undone.
struct MountEntry {
    int mountId = 0;
    int parentId = 0;
    unsigned major = 0;
    unsigned minor = 0;
    QString root;          // the part of the file system seen at the mount point
    QString mountPoint;
    QString mountOptions;  // per-mount flags: rw, nosuid, ...
    QString fsType;
    QString source;
    QString superOptions;

    bool readOnly() const;
    // Value of "key=value" among the super options; empty when absent.
    QString superOption(const QString& key) const;
    bool hasSuperOption(const QString& key) const;
};

QList<MountEntry> parseMountInfo(const QByteArray& text);

// "\040" and friends, as the kernel writes spaces, tabs, newlines and backslashes.
QString unescapeMountField(const QByteArray& field);
