#include "app/links.h"
#include "platform/linux/network_http.h"
#include "shell/updatecheck.h"
#include "support/fakeplatform.h"

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using Icon = Dialogs::Icon;
using Buttons = Dialogs::Buttons;
using Answer = Dialogs::Answer;

namespace {

class FakeMainWindow : public MainWindowLink {
public:
    int klaunCalls = 0;
    void Show() override {}
    void SHelp1() override {}
    void SHelp2() override {}
    void SHelp3() override {}
    void SHelp4() override {}
    void klaun() override { ++klaunCalls; }
};

// A one-file HTTP server on 127.0.0.1, answering every request the same way.
class TestServer : public QObject {
public:
    enum class Mode {
        Answer,        // send `response`, then close
        Silent,        // read the request, never answer
        StallAfter,    // send `response`, then keep the connection open and silent
        Endless,       // headers without a length, then body chunks until the client leaves
        Delayed,       // send `response` after delayMs
        Trickle,       // send the headers of `response`, then its body one byte every 50 ms
    };
    Mode mode = Mode::Answer;
    QByteArray response;
    int delayMs = 0;
    int requests = 0;

    TestServer()
    {
        server_.listen(QHostAddress::LocalHost, 0);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = server_.nextPendingConnection()) {
                s->setParent(this);
                connect(s, &QTcpSocket::readyRead, s, [this, s] { onRead(s); });
            }
        });
    }
    quint16 port() const { return server_.serverPort(); }
    QString url() const { return QStringLiteral("http://127.0.0.1:%1/files/Update.ini").arg(port()); }

private:
    void onRead(QTcpSocket* s)
    {
        request_ += s->readAll();
        if (!request_.contains("\r\n\r\n"))
            return;
        request_.clear();
        ++requests;
        switch (mode) {
        case Mode::Answer:
            s->write(response);
            s->disconnectFromHost();
            break;
        case Mode::Silent:
            break;
        case Mode::StallAfter:
            s->write(response);
            break;
        case Mode::Endless:
            s->write("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n");
            connect(s, &QTcpSocket::bytesWritten, s, [s] {
                if (s->state() == QAbstractSocket::ConnectedState && s->bytesToWrite() < 65536)
                    s->write(QByteArray(65536, '7'));
            });
            s->write(QByteArray(65536, '7'));
            break;
        case Mode::Trickle: {
            const qsizetype bodyAt = response.indexOf("\r\n\r\n") + 4;
            s->write(response.left(bodyAt));
            auto* drip = new QTimer(s);
            connect(drip, &QTimer::timeout, s, [this, s, drip, at = bodyAt]() mutable {
                if (at < response.size())
                    s->write(response.mid(at++, 1));
                else
                    drip->stop();
            });
            drip->start(50);
            break;
        }
        case Mode::Delayed:
            QTimer::singleShot(delayMs, s, [this, s] {
                s->write(response);
                s->disconnectFromHost();
            });
            break;
        }
    }
    QTcpServer server_;
    QByteArray request_;
};

QByteArray http(int status, const QByteArray& body, bool withLength = true)
{
    QByteArray r = "HTTP/1.1 " + QByteArray::number(status) + (status == 200 ? " OK" : " Not Found")
        + "\r\nContent-Type: text/plain\r\nConnection: close\r\n";
    if (withLength)
        r += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    return r + "\r\n" + body;
}

enum class Outcome { Latest, NewVersion, Failure };

const QString kFailure = QStringLiteral("Error checking for updates. Please go to http://www.halvexa.com/");
const QByteArray kOldFile = "1.0\r\n";

class UpdateCheck : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        fake = std::make_unique<FakePlatform>(dir.path());
        fake->platform.network = &network;
        ctx = AppContext{&fake->platform, &main, nullptr};
        writeLocal(kOldFile);
    }
    void TearDown() override { qunsetenv("KORVANE_UPDATE_URL"); }

    void pointAt(const QString& url) { qputenv("KORVANE_UPDATE_URL", url.toUtf8()); }
    QString localPath() const { return dir.path() + QStringLiteral("/Update.ini"); }
    void writeLocal(const QByteArray& b)
    {
        QFile f(localPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(b);
    }
    QByteArray readLocal() const
    {
        QFile f(localPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    // Runs the check expecting `outcome`; for a new version, `published` is the
    // version the box must name.
    void runExpecting(Outcome outcome, const QString& published = {})
    {
        int klaunAtBox = -1;
        switch (outcome) {
        case Outcome::Latest:
            fake->dialogs.expectMessage(QStringLiteral("Congradulations! You have the latest version!"),
                                        QString(), Icon::None, Buttons::Ok, Answer::Ok);
            break;
        case Outcome::NewVersion:
            fake->dialogs.expectMessage(
                QStringLiteral("A new update is avalable! You have version 2.1 and version ") + published
                    + QStringLiteral(" has been released!"),
                QStringLiteral("New Update Avaliable!"), Icon::Information, Buttons::Ok, Answer::Ok,
                [&] { klaunAtBox = main.klaunCalls; });
            break;
        case Outcome::Failure:
            fake->dialogs.expectMessage(kFailure, QStringLiteral("Error!"), Icon::Critical, Buttons::Ok,
                                        Answer::Ok);
            break;
        }
        checkForUpdate(ctx, &owner);
        fake->dialogs.verifyAllUsed();
        EXPECT_EQ(fake->cursor.history, (QList<int>{Cursor::Hourglass, Cursor::Default}));
        EXPECT_EQ(main.klaunCalls, outcome == Outcome::NewVersion ? 1 : 0);
        if (outcome == Outcome::NewVersion)
            EXPECT_EQ(klaunAtBox, 0) << "klaun ran before the box was closed";
        EXPECT_TRUE(fake->desktop.urls.isEmpty());
    }

    QTemporaryDir dir;
    std::unique_ptr<FakePlatform> fake;
    HttpNetwork network{400, 1500};
    FakeMainWindow main;
    AppContext ctx;
    QWidget owner;
};

struct ServedCase {
    const char* name;
    TestServer::Mode mode;
    QByteArray response;
    Outcome outcome;
    const char* published;  // for NewVersion
    bool complete;          // the whole answer arrived: Update.ini holds its body
};

void PrintTo(const ServedCase& c, std::ostream* os) { *os << c.name; }

class ServedFile : public UpdateCheck, public ::testing::WithParamInterface<ServedCase> {};

TEST_P(ServedFile, ReportsTheOutcomeAndKeepsTheOldFileOnFailure)
{
    const ServedCase& c = GetParam();
    TestServer server;
    server.mode = c.mode;
    server.response = c.response;
    pointAt(server.url());

    QElapsedTimer clock;
    clock.start();
    runExpecting(c.outcome, QString::fromUtf8(c.published));
    EXPECT_EQ(server.requests, 1);
    // A stalled transfer gives up at the bound, not after the network layer's own retries.
    EXPECT_LT(clock.elapsed(), 8000);

    const qsizetype bodyAt = c.response.indexOf("\r\n\r\n") + 4;
    EXPECT_EQ(readLocal(), c.complete ? c.response.mid(bodyAt) : kOldFile);
}

const QByteArray kBig(5 * 1024 * 1024, '2');

INSTANTIATE_TEST_SUITE_P(
    Answers, ServedFile,
    ::testing::Values(
        ServedCase{"Same", TestServer::Mode::Answer, http(200, "2.1\r\n"), Outcome::Latest, "", true},
        ServedCase{"SameBeforeComma", TestServer::Mode::Answer, http(200, "2.1,released 2009\r\n"),
                   Outcome::Latest, "", true},
        ServedCase{"SameQuotedAndPadded", TestServer::Mode::Answer, http(200, "  \"2.1\" , x\n"),
                   Outcome::Latest, "", true},
        ServedCase{"SameNoLineEnd", TestServer::Mode::Answer, http(200, "2.1"), Outcome::Latest, "", true},
        ServedCase{"Newer", TestServer::Mode::Answer, http(200, "2.2\r\n"), Outcome::NewVersion, "2.2", true},
        ServedCase{"Older", TestServer::Mode::Answer, http(200, "2.0\r\n"), Outcome::NewVersion, "2.0", true},
        ServedCase{"OtherNotation", TestServer::Mode::Answer, http(200, "2.10\r\n"), Outcome::NewVersion,
                   "2.10", true},
        ServedCase{"TrailingText", TestServer::Mode::Answer, http(200, "2.1 beta\r\n"),
                   Outcome::NewVersion, "2.1 beta", true},
        ServedCase{"Empty", TestServer::Mode::Answer, http(200, ""), Outcome::Failure, "", true},
        ServedCase{"BlankFirstLine", TestServer::Mode::Answer, http(200, "\r\n2.1\r\n"), Outcome::Failure,
                   "", true},
        ServedCase{"EmptyQuotes", TestServer::Mode::Answer, http(200, "\"\",2.1\r\n"), Outcome::Failure,
                   "", true},
        ServedCase{"Binary", TestServer::Mode::Answer, http(200, QByteArray("\x00\x01\xff\xfe\x02", 5)),
                   Outcome::Failure, "", true},
        ServedCase{"NotFound", TestServer::Mode::Answer, http(404, "2.1\r\n"), Outcome::Failure, "", false},
        ServedCase{"NeverAnswers", TestServer::Mode::Silent, {}, Outcome::Failure, "", false},
        ServedCase{"StallsMidBody", TestServer::Mode::StallAfter,
                   "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n2.2\r\n", Outcome::Failure, "", false},
        ServedCase{"Trickles", TestServer::Mode::Trickle, http(200, QByteArray(200, '2')), Outcome::Failure,
                   "", false},
        ServedCase{"SeveralMegabytes", TestServer::Mode::Answer, http(200, kBig), Outcome::Failure, "", false},
        ServedCase{"SeveralMegabytesNoLength", TestServer::Mode::Answer, http(200, kBig, false),
                   Outcome::Failure, "", false},
        ServedCase{"Endless", TestServer::Mode::Endless, {}, Outcome::Failure, "", false}),
    [](const ::testing::TestParamInfo<ServedCase>& i) { return std::string(i.param.name); });

TEST_F(UpdateCheck, RefusedConnectionIsAFailure)
{
    quint16 port;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    pointAt(QStringLiteral("http://127.0.0.1:%1/files/Update.ini").arg(port));
    runExpecting(Outcome::Failure);
    EXPECT_EQ(readLocal(), kOldFile);
}

TEST_F(UpdateCheck, UnwritableProgramFolderIsAFailure)
{
    TestServer server;
    server.response = http(200, "2.1\r\n");
    pointAt(server.url());
    fake->platform.programFolder = dir.path() + QStringLiteral("/missing");
    runExpecting(Outcome::Failure);
}

TEST_F(UpdateCheck, InputIsHeldOffWhileDownloadingAndBackAfterwards)
{
    TestServer server;
    server.mode = TestServer::Mode::Delayed;
    server.delayMs = 300;
    server.response = http(200, "2.1\r\n");
    pointAt(server.url());

    QWidget window;
    auto* button = new QPushButton(QStringLiteral("Download Wizard"), &window);
    window.show();
    QSignalSpy clicks(button, &QPushButton::clicked);
    bool stillShown = false;
    QTimer::singleShot(50, &window, [&] {
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::keyClick(button, Qt::Key_Space);
        window.close();
        stillShown = window.isVisible();
    });
    runExpecting(Outcome::Latest);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_TRUE(stillShown);

    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
}

TEST(PublishedVersion, AFirstFieldTooLongToReadWholeIsNoVersion)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Update.ini"));
    const QByteArray pad(70000, ' ');
    const struct {
        QByteArray file;
        bool ok;
        const char* version;
    } cases[] = {
        {"2.1" + pad + "x\r\n", false, ""},  // only the blanks after "2.1" would be read
        {"2.1" + pad, false, ""},
        {"2.1," + pad + "x\r\n", true, "2.1"},
        {"2.2\r\n" + pad + "x", true, "2.2"},
    };
    for (const auto& c : cases) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.file);
        f.close();
        QString version;
        EXPECT_EQ(readPublishedVersion(path, &version), c.ok) << c.file.left(8).toStdString();
        if (c.ok)
            EXPECT_EQ(version, QString::fromLatin1(c.version));
    }
}

TEST(UpdateCheckNames, AddressFileNameAndOwnVersion)
{
    qunsetenv("KORVANE_UPDATE_URL");
    const QString address = updateAddress();
    EXPECT_TRUE(address.startsWith(QStringLiteral("http://www.halvexa.com/"))) << address.toStdString();
    EXPECT_TRUE(address.endsWith(QStringLiteral("/Update.ini")));
    EXPECT_TRUE(makerWebAddress().startsWith(QStringLiteral("http://www.halvexa.com")));

    const struct { const char* in; const char* out; } rows[] = {
        {"http://www.halvexa.com/files/Update.ini", "Update.ini"},
        {"Update.ini", "Update.ini"},
        {"http://host/", ""},
        {"", ""},
    };
    for (const auto& r : rows)
        EXPECT_EQ(TrimPath(QString::fromLatin1(r.in)), QString::fromLatin1(r.out)) << r.in;

    EXPECT_EQ(ownVersion(), QStringLiteral("2.1"));
}

}  // namespace
