#pragma once
#include <QSize>
#include <QString>
#include <cstdint>

// The first-run flag file. Its first field must be a plain integer of 16 bits
// (optional sign, blanks around it, ended by a comma or the line end). False for a
// file that is missing, unreadable, empty, or whose first field is anything else
// (a first line of 255 bytes or more without a comma is not read as a field):
// the caller's failure path, as an integer read of such a field would raise.
bool readRunFlag(const QString& path, int16_t* value);

// Replaces the file's content with exactly "1\r\n". False when it cannot be written.
bool markRunFlagDone(const QString& path);

// Whether the resolution advice is due for a screen of this size in pixels.
bool screenAdviceDue(QSize screenPixels);
