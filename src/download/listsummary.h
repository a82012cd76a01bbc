#pragma once
#include "devices/module2.h"

#include <QString>

// The copy list's summary ("3 files - 1 MB") and the size text carried to the
// review page ("1 MB"), from the number of entries and their fixed-point total.
struct ListSummaryText {
    QString summary;
    QString sizeText;
};
ListSummaryText listSummary(qint64 count, FixedBytes total);
