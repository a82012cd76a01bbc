#pragma once
#include "platform/volumes.h"

class LinuxVolumes;

// Formats removable drives: through UDisks2 where it runs, else with the file
// system's own mkfs on the unmounted device; the drive is mounted again where it
// was and keeps its letter.
class LinuxFormatter : public Formatter {
public:
    struct Config {
        bool useUDisks = true;
    };
    explicit LinuxFormatter(LinuxVolumes& volumes) : LinuxFormatter(volumes, Config{}) {}
    LinuxFormatter(LinuxVolumes& volumes, Config config) : volumes_(volumes), config_(config) {}

    bool canFormat(const QString& fileSystem, QString* why) override;
    bool format(const QString& root, const Options& options, QString* why) override;

private:
    LinuxVolumes& volumes_;
    Config config_;
};
