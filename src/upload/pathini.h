#pragma once
#include <QString>

// The upload wizard's remembered destination: one line in Data/Path.ini beside
// the program, the last folder confirmed with Next, in drive-letter form.
namespace PathIni {

QString filePath(const QString& programFolder);

// The whole first line without its line end (CR LF or LF), so a folder whose
// name holds a comma comes back whole; a leading byte order mark is not part of it. Empty when the file is missing or unreadable.
QString read(const QString& programFolder);

// Replaces the file with destination + CR LF; a crash never leaves it half written.
// False when it cannot be written, or when the destination could not be read back
// as it was: it holds a line break or a lone surrogate, or is longer than read() takes.
bool write(const QString& programFolder, const QString& destination);

}  // namespace PathIni
