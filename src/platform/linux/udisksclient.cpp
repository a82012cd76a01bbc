#include "platform/linux/udisksclient.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>

namespace {
const QString kRoot = QStringLiteral("/org/freedesktop/UDisks2");
const QString kBlockIface = QStringLiteral("org.freedesktop.UDisks2.Block");
const QString kFsIface = QStringLiteral("org.freedesktop.UDisks2.Filesystem");
constexpr int kShortCall = 5000;
// Relabelling waits for udev to settle, formatting for the whole device.
constexpr int kLongCall = 120000;
constexpr int kFormatCall = 24 * 3600 * 1000;

QString ayToString(const QByteArray& ay)
{
    QByteArray b = ay;
    if (b.endsWith('\0'))
        b.chop(1);
    return QString::fromUtf8(b);
}
} // namespace

UDisksClient::UDisksClient(QDBusConnection bus) : bus_(std::move(bus)) {}

bool UDisksClient::available()
{
    if (!bus_.isConnected() || !bus_.interface())
        return false;
    const QString service = QString::fromLatin1(kService);
    if (bus_.interface()->isServiceRegistered(service).value())
        return true;
    const QDBusReply<QStringList> activatable = bus_.interface()->activatableServiceNames();
    return activatable.isValid() && activatable.value().contains(service);
}

QString UDisksClient::blockPath(const QString& blockName)
{
    // The service's own escaping of device names in object paths.
    QString escaped;
    for (const QChar c : blockName) {
        if ((c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            || (c >= QLatin1Char('0') && c <= QLatin1Char('9')))
            escaped += c;
        else
            escaped += QStringLiteral("_%1").arg(c.unicode() & 0xff, 2, 16, QLatin1Char('0'));
    }
    return kRoot + QStringLiteral("/block_devices/") + escaped;
}

bool UDisksClient::call(const QString& path, const QString& iface, const QString& method, const QVariantList& args,
                        int timeoutMs, QVariantList* reply, Error* error)
{
    QDBusMessage msg = QDBusMessage::createMethodCall(QString::fromLatin1(kService), path, iface, method);
    msg.setArguments(args);
    const QDBusMessage r = bus_.call(msg, QDBus::Block, timeoutMs);
    if (r.type() == QDBusMessage::ReplyMessage) {
        if (reply)
            *reply = r.arguments();
        return true;
    }
    if (error)
        *error = {r.errorName(), r.errorMessage()};
    return false;
}

bool UDisksClient::property(const QString& path, const QString& iface, const QString& name, QVariant* value)
{
    QVariantList reply;
    if (!call(path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"), {iface, name},
              kShortCall, &reply, nullptr)
        || reply.isEmpty())
        return false;
    *value = reply.first().value<QDBusVariant>().variant();
    return true;
}

bool UDisksClient::idLabel(const QString& blockName, QString* label)
{
    QVariant v;
    if (!property(blockPath(blockName), kBlockIface, QStringLiteral("IdLabel"), &v))
        return false;
    *label = v.toString();
    return true;
}

bool UDisksClient::idType(const QString& blockName, QString* type)
{
    QVariant v;
    if (!property(blockPath(blockName), kBlockIface, QStringLiteral("IdType"), &v))
        return false;
    *type = v.toString();
    return true;
}

bool UDisksClient::mountPoints(const QString& blockName, QStringList* points)
{
    points->clear();
    QVariant v;
    if (!property(blockPath(blockName), kFsIface, QStringLiteral("MountPoints"), &v))
        return false;
    const QDBusArgument arg = v.value<QDBusArgument>();
    arg.beginArray();
    while (!arg.atEnd()) {
        QByteArray ay;
        arg >> ay;
        points->append(ayToString(ay));
    }
    arg.endArray();
    return true;
}

bool UDisksClient::setLabel(const QString& blockName, const QString& label, Error* error)
{
    return call(blockPath(blockName), kFsIface, QStringLiteral("SetLabel"), {label, QVariantMap()}, kLongCall,
                nullptr, error);
}

bool UDisksClient::unmount(const QString& blockName, Error* error)
{
    return call(blockPath(blockName), kFsIface, QStringLiteral("Unmount"), {QVariantMap()}, kLongCall, nullptr,
                error);
}

bool UDisksClient::mount(const QString& blockName, QString* mountPoint, Error* error)
{
    QVariantList reply;
    if (!call(blockPath(blockName), kFsIface, QStringLiteral("Mount"), {QVariantMap()}, kLongCall, &reply, error))
        return false;
    if (mountPoint)
        *mountPoint = reply.isEmpty() ? QString() : reply.first().toString();
    return true;
}

bool UDisksClient::format(const QString& blockName, const QString& type, const QVariantMap& options, Error* error)
{
    return call(blockPath(blockName), kBlockIface, QStringLiteral("Format"), {type, options}, kFormatCall, nullptr,
                error);
}

bool UDisksClient::canFormat(const QString& type, bool* possible, QString* missingTool, Error* error)
{
    QVariantList reply;
    if (!call(kRoot + QStringLiteral("/Manager"), QStringLiteral("org.freedesktop.UDisks2.Manager"),
              QStringLiteral("CanFormat"), {type}, kShortCall, &reply, error)
        || reply.isEmpty())
        return false;
    // (bs): a struct of whether it can, and the program it lacks.
    const QDBusArgument arg = reply.first().value<QDBusArgument>();
    bool can = false;
    QString tool;
    arg.beginStructure();
    arg >> can >> tool;
    arg.endStructure();
    *possible = can;
    *missingTool = tool;
    return true;
}
