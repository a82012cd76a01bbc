#pragma once
#include <QString>

class QWidget;
struct AppContext;

// The maker's web site: what klaun opens and what the update failure message names.
QString makerWebAddress();

// Where the published version file lives. KORVANE_UPDATE_URL overrides it, for tests only.
QString updateAddress();

// The part of text after its last "/"; the whole text when it holds no "/".
QString TrimPath(const QString& text);

// This build's version as "major.minor", e.g. "2.1".
QString ownVersion();

// The published version from the first line of a version file: the text up to the
// first comma or line end, surrounding blanks trimmed and one pair of surrounding
// double quotes removed. False when the file cannot be read or the field holds no
// version (empty, control characters, not text, or longer than the 64 KiB read).
bool readPublishedVersion(const QString& path, QString* version);

// Command1's click: downloads the version file into the program folder, compares it
// with ownVersion() and reports the outcome in a message box; after the new-version
// box it calls ctx.main->klaun(). Input to the program's windows is held off while
// the download runs; the pointer is the hourglass until the check is over.
void checkForUpdate(const AppContext& ctx, QWidget* owner);
