#pragma once
#include "platform/volumes.h"

#include <QList>
#include <QMap>
#include <functional>

// Formats nothing: answers canFormat from a table and records each request.
class FakeFormatter : public Formatter {
public:
    QMap<QString, QString> missing;        // file system -> why it cannot be made
    bool result = true;
    QString failWhy;
    std::function<void()> during;          // runs inside format(), as the work would
    struct Call { QString root; Options options; };
    QList<Call> calls;

    bool canFormat(const QString& fs, QString* why) override
    {
        if (!missing.contains(fs))
            return true;
        if (why)
            *why = missing.value(fs);
        return false;
    }
    bool format(const QString& root, const Options& options, QString* why) override
    {
        calls.append({root, options});
        if (during)
            during();
        if (!result && why)
            *why = failWhy;
        return result;
    }
};
