#include "configure/registryread.h"

#include "platform/systemregistry.h"

namespace {
// Read rights plus every key-specific right, as the tool's location has always been opened.
constexpr uint32_t kKeyAccess = 0x2003F;
constexpr uint32_t kBufferSize = 1024;
}

bool GetKeyValue(SystemRegistry& registry, uint32_t root, const QString& keyName, const QString& valueName,
                 QString& value)
{
    uintptr_t handle = 0;
    bool result = false;
    if (registry.openKey(root, keyName, kKeyAccess, &handle) != 0) {
        value.clear();
    } else {
        QByteArray buffer(kBufferSize, '\0');
        uint32_t size = kBufferSize;
        uint32_t type = 0;
        if (registry.queryValue(handle, valueName, &type, &buffer, &size) != 0) {
            value.clear();
        } else {
            const qsizetype n = qMin<qsizetype>(size, buffer.size());
            QByteArray trimmed = buffer.left(n);
            if (n > 0 && trimmed.at(n - 1) == '\0')
                trimmed.chop(1);
            if (type == SystemRegistry::REG_SZ) {
                value = QString::fromUtf8(trimmed);
            } else if (type == SystemRegistry::REG_DWORD) {
                // The number itself: joining each byte's digits without their leading zeros would be ambiguous.
                uint32_t number = 0;
                for (int i = 3; i >= 0; --i)
                    number = (number << 8) | uint8_t(i < buffer.size() ? buffer.at(i) : 0);
                value = QStringLiteral("&h") + QString::number(number, 16).toUpper();
            }
            result = true;
        }
    }
    registry.closeKey(handle);
    return result;
}
