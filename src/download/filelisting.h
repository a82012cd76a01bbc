#pragma once
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <functional>

// The hidden file list of a copy list page (File1): the ordinary files of a
// folder, by name. Subfolders, hidden files (names starting with '.'), devices,
// pipes, sockets and dangling links are left out. False when the folder cannot be listed.
bool listOrdinaryFiles(const QString& nativeFolder, QStringList* names);

// The same files with what was read of each (its size is already known). pass, when
// given, is called after every entry, so a long listing can let events run.
bool listOrdinaryFiles(const QString& nativeFolder, QFileInfoList* files, const std::function<void()>& pass = {});
