#include "platform/linux/network_http.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QTimer>
#include <QUrl>

namespace {
enum Result { Ok = 0, BadAddress = 1, NotWritable = 2, Failed = 3, TimedOut = 4, TooLarge = 5 };
}

HttpNetwork::HttpNetwork(int stallTimeoutMs, int totalTimeoutMs, qint64 maxBytes)
    : stallTimeoutMs_(stallTimeoutMs), totalTimeoutMs_(totalTimeoutMs), maxBytes_(maxBytes)
{
}

int HttpNetwork::downloadToFile(const QString& url, const QString& localPath)
{
    const QUrl address(url, QUrl::StrictMode);
    if (!address.isValid() || (address.scheme() != QLatin1String("http")
                               && address.scheme() != QLatin1String("https")))
        return BadAddress;

    // Written beside the target and renamed over it on commit, so a broken
    // transfer never leaves a half file where the old one was.
    QSaveFile out(localPath);
    if (!out.open(QIODevice::WriteOnly))
        return NotWritable;

    QNetworkAccessManager manager;
    QNetworkRequest request(address);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = manager.get(request);

    QEventLoop loop;
    QTimer stall;
    stall.setSingleShot(true);
    stall.setInterval(stallTimeoutMs_);
    // A server trickling a byte now and then never stalls, but must not hold the window for ever.
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setInterval(totalTimeoutMs_);
    int result = Ok;
    qint64 received = 0;

    auto fail = [&](int why) {
        if (result == Ok)
            result = why;
        reply->abort();
    };
    QObject::connect(&stall, &QTimer::timeout, &loop, [&] { fail(TimedOut); });
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] { fail(TimedOut); });
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [&] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > maxBytes_)
            fail(TooLarge);
    });
    QObject::connect(reply, &QNetworkReply::downloadProgress, &loop, [&] { stall.start(); });
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        stall.start();
        const QByteArray chunk = reply->readAll();
        received += chunk.size();
        if (received > maxBytes_) {
            fail(TooLarge);
            return;
        }
        if (out.write(chunk) != chunk.size())
            fail(NotWritable);
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);

    stall.start();
    deadline.start();
    if (!reply->isFinished())
        loop.exec();
    stall.stop();
    deadline.stop();

    if (result == Ok) {
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (reply->error() != QNetworkReply::NoError || status < 200 || status > 299)
            result = Failed;
    }
    if (result == Ok) {
        const QByteArray rest = reply->readAll();
        if (received + rest.size() > maxBytes_)
            result = TooLarge;
        else if (out.write(rest) != rest.size())
            result = NotWritable;
    }
    reply->deleteLater();
    if (result != Ok) {
        out.cancelWriting();
        return result;
    }
    return out.commit() ? Ok : NotWritable;
}
