#pragma once
#include <QString>

// Downloads of web addresses.
class Network {
public:
    virtual ~Network() = default;
    // Downloads url into localPath. Returns 0 when the whole file was written;
    // any other value is a failure and leaves localPath as it was.
    virtual int downloadToFile(const QString& url, const QString& localPath) = 0;
};
