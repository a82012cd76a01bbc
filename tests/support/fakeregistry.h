#pragma once
#include "platform/systemregistry.h"

#include <QList>
#include <QMap>
#include <QStringList>

// Registry values from a test's table; records every call, in order.
class FakeRegistry : public SystemRegistry {
public:
    struct Value {
        uint32_t type = REG_SZ;
        QByteArray data;      // as the call writes it, terminating NUL included when wanted
    };
    // key name -> value name -> value
    QMap<QString, QMap<QString, Value>> keys;
    QStringList calls;        // "open KEY", "query VALUE", "close HANDLE"
    QList<uint32_t> accessRights;

    void setText(const QString& key, const QString& value, const QString& text, bool withNul = true)
    {
        QByteArray d = text.toUtf8();
        if (withNul)
            d.append('\0');
        keys[key][value] = {REG_SZ, d};
    }

    long openKey(uint32_t root, const QString& keyName, uint32_t access, uintptr_t* handle) override
    {
        calls << QStringLiteral("open ") + keyName;
        accessRights << access;
        *handle = 0;
        const int i = int(keys.keys().indexOf(keyName));
        if (root != HKEY_LOCAL_MACHINE || i < 0)
            return 2;
        *handle = uintptr_t(i + 1);
        return 0;
    }
    long queryValue(uintptr_t handle, const QString& valueName, uint32_t* type, QByteArray* buffer,
                    uint32_t* size) override
    {
        calls << QStringLiteral("query ") + valueName;
        const QStringList names = keys.keys();
        if (handle == 0 || handle > uintptr_t(names.size()))
            return 6;
        const auto values = keys.value(names.at(int(handle - 1)));
        if (!values.contains(valueName))
            return 2;
        const Value v = values.value(valueName);
        if (uint32_t(v.data.size()) > *size)
            return 234;
        *type = v.type;
        buffer->replace(0, v.data.size(), v.data);
        *size = uint32_t(v.data.size());
        return 0;
    }
    long closeKey(uintptr_t handle) override
    {
        calls << QStringLiteral("close ") + QString::number(handle);
        return handle == 0 ? 6 : 0;
    }
};
