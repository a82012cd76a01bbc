#include "shell/updatecheck.h"

#include "app/inputhold.h"
#include "app/links.h"
#include "app/programpaths.h"
#include "platform/cursor.h"
#include "platform/dialogs.h"
#include "platform/network.h"
#include "platform/platform.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringDecoder>

namespace {

const char kDefaultUpdateAddress[] = "http://www.halvexa.com/files/Update.ini";

}  // namespace

QString makerWebAddress()
{
    return QStringLiteral("http://www.halvexa.com/");
}

QString updateAddress()
{
    const QString overridden = qEnvironmentVariable("KORVANE_UPDATE_URL");
    return overridden.isEmpty() ? QString::fromLatin1(kDefaultUpdateAddress) : overridden;
}

QString TrimPath(const QString& text)
{
    const qsizetype slash = text.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? text : text.mid(slash + 1);
}

QString ownVersion()
{
    return QString::number(KORVANE_VERSION_MAJOR) + QLatin1Char('.')
        + QString::number(KORVANE_VERSION_MINOR);
}

bool readPublishedVersion(const QString& path, QString* version)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray line = file.read(64 * 1024);
    const bool more = !file.atEnd();
    if (line.startsWith("\xEF\xBB\xBF"))
        line.remove(0, 3);
    const qsizetype end = line.indexOf('\n');
    if (end >= 0)
        line.truncate(end);
    const qsizetype cr = line.indexOf('\r');
    if (cr >= 0)
        line.truncate(cr);
    const qsizetype comma = line.indexOf(',');
    if (comma >= 0)
        line.truncate(comma);
    // Cut short at the read limit, the field could read as a version it is not.
    if (more && end < 0 && cr < 0 && comma < 0)
        return false;

    QStringDecoder utf8(QStringDecoder::Utf8);
    QString field = utf8.decode(line);
    if (utf8.hasError())
        return false;
    field = field.trimmed();
    if (field.size() >= 2 && field.startsWith(QLatin1Char('"')) && field.endsWith(QLatin1Char('"')))
        field = field.mid(1, field.size() - 2);
    if (field.trimmed().isEmpty())
        return false;
    for (const QChar c : field) {
        if (!c.isPrint())
            return false;
    }
    *version = field;
    return true;
}

void checkForUpdate(const AppContext& ctx, QWidget* owner)
{
    Platform& platform = *ctx.platform;
    platform.cursor->setPointer(Cursor::Hourglass);

    const QString address = updateAddress();
    const QString local = programFile(platform.programFolder, QLatin1Char('\\') + TrimPath(address));
    int result = -1;
    if (platform.network) {
        InputHold hold;
        result = platform.network->downloadToFile(address, local);
    }

    QString published;
    if (result != 0 || !readPublishedVersion(local, &published)) {
        platform.dialogs->message(owner,
                                  QStringLiteral("Error checking for updates. Please go to ")
                                      + makerWebAddress(),
                                  QStringLiteral("Error!"), Dialogs::Icon::Critical,
                                  Dialogs::Buttons::Ok);
        platform.cursor->setPointer(Cursor::Default);
        return;
    }

    const QString own = ownVersion();
    if (published != own) {
        platform.dialogs->message(owner,
                                  QStringLiteral("A new update is avalable! You have version ") + own
                                      + QStringLiteral(" and version ") + published
                                      + QStringLiteral(" has been released!"),
                                  QStringLiteral("New Update Avaliable!"),
                                  Dialogs::Icon::Information, Dialogs::Buttons::Ok);
        if (ctx.main)
            ctx.main->klaun();
    } else {
        platform.dialogs->message(owner, QStringLiteral("Congradulations! You have the latest version!"),
                                  QString(), Dialogs::Icon::None, Dialogs::Buttons::Ok);
    }
    platform.cursor->setPointer(Cursor::Default);
}
