#pragma once
#include "platform/network.h"

#include <QtGlobal>

// Downloads over HTTP with QNetworkAccessManager, waited on in a local event loop.
// A transfer that makes no progress for stallTimeoutMs or is not done within
// totalTimeoutMs, an answer other than 2xx, or one larger than maxBytes is a
// failure; the target file is replaced only by a complete answer.
class HttpNetwork : public Network {
public:
    explicit HttpNetwork(int stallTimeoutMs = 15000, int totalTimeoutMs = 60000,
                         qint64 maxBytes = 64 * 1024);
    int downloadToFile(const QString& url, const QString& localPath) override;

private:
    int stallTimeoutMs_;
    int totalTimeoutMs_;
    qint64 maxBytes_;
};
