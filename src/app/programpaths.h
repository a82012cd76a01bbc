#pragma once
#include <QString>

// Joins the program folder with a literal such as "\Data\intro.mp3" or
// "/Config.ini": both separators mean the native one.
QString programFile(const QString& programFolder, const QString& literal);
