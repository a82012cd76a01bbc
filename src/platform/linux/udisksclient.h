#pragma once
#include <QDBusConnection>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// The few calls of org.freedesktop.UDisks2 this program makes, on the system bus.
class UDisksClient {
public:
    struct Error {
        QString name;     // D-Bus error name; empty when the call itself could not be made
        QString message;
    };

    explicit UDisksClient(QDBusConnection bus = QDBusConnection::systemBus());

    // The service runs on the bus (or the bus would start it).
    bool available();

    static QString blockPath(const QString& blockName);

    bool idLabel(const QString& blockName, QString* label);
    bool idType(const QString& blockName, QString* type);
    // Mount points the service reports for the file system; false without one.
    bool mountPoints(const QString& blockName, QStringList* points);

    bool setLabel(const QString& blockName, const QString& label, Error* error);
    bool unmount(const QString& blockName, Error* error);
    bool mount(const QString& blockName, QString* mountPoint, Error* error);
    bool format(const QString& blockName, const QString& type, const QVariantMap& options, Error* error);
    // Manager.CanFormat: whether the type can be made, else the missing program.
    bool canFormat(const QString& type, bool* possible, QString* missingTool, Error* error);

    static constexpr const char* kService = "org.freedesktop.UDisks2";
    static constexpr const char* kNotSupported = "org.freedesktop.UDisks2.Error.NotSupported";

private:
    bool property(const QString& path, const QString& iface, const QString& name, QVariant* value);
    bool call(const QString& path, const QString& iface, const QString& method, const QVariantList& args,
              int timeoutMs, QVariantList* reply, Error* error);
    QDBusConnection bus_;
};
