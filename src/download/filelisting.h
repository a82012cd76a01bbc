#pragma once
#include <QString>
#include <QStringList>

// The hidden file list of a copy list page (File1): the ordinary files of a
// folder, by name. Subfolders, hidden files (names starting with '.'), devices,
// pipes, sockets and dangling links are left out. False when the folder cannot be listed.
bool listOrdinaryFiles(const QString& nativeFolder, QStringList* names);
