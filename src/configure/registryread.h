#pragma once
#include <QString>
#include <cstdint>

class SystemRegistry;

// Reads one registry value into `value`. True when it was read. A text value
// loses the terminating NUL the call counted; a DWORD becomes "&h" and its
// number in upper-case hexadecimal; any other type leaves `value` as it was.
// The key is closed on every path, also after a failed open.
bool GetKeyValue(SystemRegistry& registry, uint32_t root, const QString& keyName, const QString& valueName,
                 QString& value);
