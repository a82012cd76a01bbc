// GIO's headers use the word "signals", which Qt defines as a macro: include them first.
#include <gio/gio.h>

#include "platform/linux/desktop_gio.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace {

template <typename T>
struct GRef {
    T* p = nullptr;
    explicit GRef(T* v = nullptr) : p(v) {}
    ~GRef() { if (p) g_object_unref(p); }
    GRef(const GRef&) = delete;
    GRef& operator=(const GRef&) = delete;
    T* get() const { return p; }
    explicit operator bool() const { return p != nullptr; }
};

// Launches with GIO; true when the program was started.
bool launchFiles(GAppInfo* app, GFile* file)
{
    GList* files = g_list_append(nullptr, file);
    GRef<GAppLaunchContext> context(g_app_launch_context_new());
    GError* error = nullptr;
    const gboolean ok = g_app_info_launch(app, files, context.get(), &error);
    g_list_free(files);
    if (error)
        g_error_free(error);
    return ok;
}

bool launchUri(GAppInfo* app, const QByteArray& uri)
{
    GList* uris = g_list_append(nullptr, const_cast<char*>(uri.constData()));
    GRef<GAppLaunchContext> context(g_app_launch_context_new());
    GError* error = nullptr;
    const gboolean ok = g_app_info_launch_uris(app, uris, context.get(), &error);
    g_list_free(uris);
    if (error)
        g_error_free(error);
    return ok;
}

} // namespace

QString GioDesktop::contentType(const QString& nativePath)
{
    const QByteArray path = QFile::encodeName(nativePath);
    GRef<GFile> file(g_file_new_for_path(path.constData()));
    GRef<GFileInfo> info(g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                           G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
    if (!info)
        return {};
    const char* type = g_file_info_get_content_type(info.get());
    return type ? QString::fromUtf8(type) : QString();
}

QString GioDesktop::defaultProgramFor(const QString& type)
{
    GRef<GAppInfo> app(g_app_info_get_default_for_type(type.toUtf8().constData(), FALSE));
    if (!app)
        return {};
    const char* id = g_app_info_get_id(app.get());
    return id ? QString::fromUtf8(id) : QStringLiteral("?");
}

Desktop::OpenResult GioDesktop::openDocument(const QString& nativePath)
{
    const QFileInfo fi(nativePath);
    if (!fi.isFile() || !fi.isReadable())
        return OpenResult::Failed;
    const QString type = contentType(nativePath);
    if (type.isEmpty())
        return OpenResult::NoHandler;
    GRef<GAppInfo> app(g_app_info_get_default_for_type(type.toUtf8().constData(), FALSE));
    if (!app)
        return OpenResult::NoHandler;
    GRef<GFile> file(g_file_new_for_path(QFile::encodeName(fi.absoluteFilePath()).constData()));
    return launchFiles(app.get(), file.get()) ? OpenResult::Opened : OpenResult::Failed;
}

Desktop::OpenResult GioDesktop::openUrl(const QString& url)
{
    const QByteArray uri = url.toUtf8();
    char* scheme = g_uri_parse_scheme(uri.constData());
    if (!scheme)
        return OpenResult::Failed;
    GRef<GAppInfo> app(g_app_info_get_default_for_uri_scheme(scheme));
    g_free(scheme);
    if (!app)
        return OpenResult::NoHandler;
    return launchUri(app.get(), uri) ? OpenResult::Opened : OpenResult::Failed;
}

bool GioDesktop::startProgram(const QString& commandLine, int)
{
    // Window styles have no meaning to an X11 or Wayland client started from outside.
    QStringList args = QProcess::splitCommand(commandLine);
    if (args.isEmpty())
        return false;
    const QString program = args.takeFirst();
    return QProcess::startDetached(program, args);
}

bool GioDesktop::openFolder(const QString& nativePath)
{
    const QFileInfo fi(nativePath);
    if (!fi.isDir())
        return false;
    const QString uri = QUrl::fromLocalFile(fi.absoluteFilePath()).toString(QUrl::FullyEncoded);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
            QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowFolders"));
        call << QStringList{uri} << QString();
        const QDBusMessage reply = bus.call(call, QDBus::Block, 5000);
        if (reply.type() == QDBusMessage::ReplyMessage)
            return true;
    }
    GRef<GAppInfo> app(g_app_info_get_default_for_type("inode/directory", FALSE));
    if (!app)
        return false;
    GRef<GFile> dir(g_file_new_for_path(QFile::encodeName(fi.absoluteFilePath()).constData()));
    return launchFiles(app.get(), dir.get());
}
