#include "platform/linux/systemregistry_linux.h"

#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QFile>

// The mapping, in one place:
//
//   HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO, value "PATH" (REG_SZ):
//     the full path of the first system-information program installed, in the
//     order of kTools: its program on $PATH, else the program its .desktop entry
//     starts. Not found when none is installed.
//   HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools Location, value "MSINFO" (REG_SZ):
//     a folder where an administrator may put a launcher named MSINFO32.EXE
//     ($XDG_DATA_HOME/korvane/tools); answered only while that folder exists.
//     The caller checks the launcher's file before starting it.
//
// Error codes are the registry's own: 0 done, 2 not found, 6 bad handle, 234 buffer too small.

namespace {
constexpr long kOk = 0, kNotFound = 2, kBadHandle = 6, kMoreData = 234;
constexpr uintptr_t kInfoHandle = 1, kLocationHandle = 2;

struct Tool {
    const char* program;
    const char* desktopIds[2];
};
const Tool kTools[] = {
    {"hardinfo2", {"hardinfo2.desktop", nullptr}},
    {"hardinfo", {"hardinfo.desktop", nullptr}},
    {"kinfocenter", {"org.kde.kinfocenter.desktop", "kinfocenter.desktop"}},
    {"gnome-system-monitor", {"org.gnome.SystemMonitor.desktop", "gnome-system-monitor.desktop"}},
    {"mate-system-monitor", {"mate-system-monitor.desktop", nullptr}},
};

bool sameKey(const QString& a, const char* b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

bool isProgram(const QString& path)
{
    const QFileInfo fi(path);
    return fi.isFile() && fi.isExecutable();
}

QString onPath(const QString& program, const QStringList& dirs)
{
    if (program.startsWith(QLatin1Char('/')))
        return isProgram(program) ? program : QString();
    for (const QString& d : dirs) {
        const QString p = QDir(d).filePath(program);
        if (isProgram(p))
            return p;
    }
    return {};
}

// The program an entry's Exec line starts (field codes and arguments dropped).
QString execProgram(const QString& desktopFile)
{
    QFile file(desktopFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QString exec;
    bool inEntry = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inEntry = line == QLatin1String("[Desktop Entry]");
        else if (inEntry && line.startsWith(QLatin1String("Exec="))) {
            exec = line.mid(5).trimmed();
            break;
        }
    }
    if (exec.startsWith(QLatin1Char('"'))) {
        const qsizetype end = exec.indexOf(QLatin1Char('"'), 1);
        return end > 0 ? exec.mid(1, end - 1) : QString();
    }
    return exec.section(QLatin1Char(' '), 0, 0);
}

long answerText(const QString& text, uint32_t* type, QByteArray* buffer, uint32_t* size)
{
    QByteArray data = text.toUtf8();
    data.append('\0');
    if (uint32_t(data.size()) > *size) {
        *size = uint32_t(data.size());
        return kMoreData;
    }
    if (buffer->size() < data.size())
        buffer->resize(data.size());
    buffer->replace(0, data.size(), data);
    *type = SystemRegistry::REG_SZ;
    *size = uint32_t(data.size());
    return kOk;
}
}

LinuxSystemRegistry::LinuxSystemRegistry()
{
    const auto env = QProcessEnvironment::systemEnvironment();
    places_.programDirs = env.value(QStringLiteral("PATH"), QStringLiteral("/usr/local/bin:/usr/bin:/bin"))
                              .split(QLatin1Char(':'), Qt::SkipEmptyParts);
    QString dataHome = env.value(QStringLiteral("XDG_DATA_HOME"));
    if (dataHome.isEmpty())
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    places_.applicationDirs << dataHome + QStringLiteral("/applications");
    const QString dataDirs = env.value(QStringLiteral("XDG_DATA_DIRS"), QStringLiteral("/usr/local/share:/usr/share"));
    for (const QString& d : dataDirs.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        places_.applicationDirs << d + QStringLiteral("/applications");
    places_.sharedToolsFolder = dataHome + QStringLiteral("/korvane/tools");
}

QString LinuxSystemRegistry::findInfoTool() const
{
    for (const Tool& t : kTools) {
        const QString p = onPath(QLatin1String(t.program), places_.programDirs);
        if (!p.isEmpty())
            return p;
    }
    for (const Tool& t : kTools) {
        for (const char* id : t.desktopIds) {
            if (!id)
                continue;
            for (const QString& dir : places_.applicationDirs) {
                const QString file = QDir(dir).filePath(QLatin1String(id));
                if (!QFileInfo::exists(file))
                    continue;
                const QString program = onPath(execProgram(file), places_.programDirs);
                if (!program.isEmpty())
                    return program;
            }
        }
    }
    return {};
}

long LinuxSystemRegistry::openKey(uint32_t root, const QString& keyName, uint32_t, uintptr_t* handle)
{
    *handle = 0;
    if (root != HKEY_LOCAL_MACHINE)
        return kNotFound;
    if (sameKey(keyName, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"))
        *handle = kInfoHandle;
    else if (sameKey(keyName, "SOFTWARE\\Microsoft\\Shared Tools Location"))
        *handle = kLocationHandle;
    return *handle ? kOk : kNotFound;
}

long LinuxSystemRegistry::queryValue(uintptr_t handle, const QString& valueName, uint32_t* type,
                                     QByteArray* buffer, uint32_t* size)
{
    if (handle == kInfoHandle && sameKey(valueName, "PATH")) {
        const QString tool = findInfoTool();
        return tool.isEmpty() ? kNotFound : answerText(tool, type, buffer, size);
    }
    if (handle == kLocationHandle && sameKey(valueName, "MSINFO")) {
        if (!QFileInfo(places_.sharedToolsFolder).isDir())
            return kNotFound;
        return answerText(places_.sharedToolsFolder, type, buffer, size);
    }
    return handle == kInfoHandle || handle == kLocationHandle ? kNotFound : kBadHandle;
}

long LinuxSystemRegistry::closeKey(uintptr_t handle)
{
    return handle == kInfoHandle || handle == kLocationHandle ? kOk : kBadHandle;
}
