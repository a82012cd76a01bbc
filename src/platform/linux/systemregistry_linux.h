#pragma once
#include "platform/systemregistry.h"

#include <QStringList>

// Answers the two look-ups of the system-information tool from what this
// desktop has installed; every other key is "not found". The mapping is
// written down once, in systemregistry_linux.cpp.
class LinuxSystemRegistry : public SystemRegistry {
public:
    struct Places {
        QStringList programDirs;      // where programs are looked up ($PATH)
        QStringList applicationDirs;  // folders of .desktop entries
        QString sharedToolsFolder;    // the folder the second look-up names
    };
    // Places from the environment ($PATH, $XDG_DATA_HOME, $XDG_DATA_DIRS).
    LinuxSystemRegistry();
    explicit LinuxSystemRegistry(Places places) : places_(std::move(places)) {}

    long openKey(uint32_t root, const QString& keyName, uint32_t access, uintptr_t* handle) override;
    long queryValue(uintptr_t handle, const QString& valueName, uint32_t* type, QByteArray* buffer,
                    uint32_t* size) override;
    long closeKey(uintptr_t handle) override;

    // The installed system-information program (full path), or empty.
    QString findInfoTool() const;

private:
    Places places_;
};
