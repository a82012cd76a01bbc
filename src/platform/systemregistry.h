#pragma once
#include <QByteArray>
#include <QString>
#include <cstdint>

// The few registry-style look-ups the program makes. Results are 0 on success.
class SystemRegistry {
public:
    static constexpr uint32_t HKEY_LOCAL_MACHINE = 0x80000002u;
    static constexpr uint32_t REG_SZ = 1;
    static constexpr uint32_t REG_DWORD = 4;

    virtual ~SystemRegistry() = default;
    virtual long openKey(uint32_t root, const QString& keyName, uint32_t access, uintptr_t* handle) = 0;
    // Reads a value into buffer (at most *size bytes); *size becomes the bytes written.
    virtual long queryValue(uintptr_t handle, const QString& valueName, uint32_t* type,
                            QByteArray* buffer, uint32_t* size) = 0;
    virtual long closeKey(uintptr_t handle) = 0;
};
