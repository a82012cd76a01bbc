#include "app/programpaths.h"
#include "configure/form4_ui.h"
#include "configure/formatdialog_ui.h"
#include "configure/registryread.h"
#include "devices/getdrivepage_ui.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/platform.h"
#include "platform/systemregistry.h"
#include "platform/volumes.h"

#include <QFileInfo>

namespace {
const QString kInfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kLocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");

QString commandFor(const QString& program)
{
    // Quoted so a folder with blanks stays one program path.
    return program.contains(QLatin1Char(' ')) ? QLatin1Char('"') + program + QLatin1Char('"') : program;
}
}

bool Form4::GetKeyValue(uint32_t root, const QString& keyName, const QString& valueName, QString& value)
{
    if (!ctx_.platform->registry) {
        value.clear();
        return false;
    }
    return ::GetKeyValue(*ctx_.platform->registry, root, keyName, valueName, value);
}

void Form4::StartSysInfo()
{
    Desktop& desktop = *ctx_.platform->desktop;
    QString path;
    bool started = false;
    if (GetKeyValue(SystemRegistry::HKEY_LOCAL_MACHINE, kInfoKey, QStringLiteral("PATH"), path)) {
        started = desktop.startProgram(commandFor(path), Desktop::Normal);
    } else if (GetKeyValue(SystemRegistry::HKEY_LOCAL_MACHINE, kLocationKey, QStringLiteral("MSINFO"), path)) {
        const QString tool = programFile(path, QStringLiteral("\\MSINFO32.EXE"));
        if (QFileInfo(tool).isFile())
            started = desktop.startProgram(commandFor(tool), Desktop::Normal);
    }
    if (!started)
        ctx_.platform->dialogs->message(this, QStringLiteral("System Information Is Unavailable At This Time"),
                                        QString(), Dialogs::Icon::None, Dialogs::Buttons::Ok);
}

int16_t Form4::QueryDriveType(QString& drive)
{
    if (drive.size() == 1)
        drive += QStringLiteral(":\\");
    if (drive.size() == 2 && drive.endsWith(QLatin1Char(':')))
        drive += QLatin1Char('\\');
    return int16_t(ctx_.platform->volumes->driveType(drive));
}

bool Form4::FormatDrive(const QString& drive)
{
    QString d = drive.toUpper();
    if (d.isEmpty())
        return false;
    const int index = d.at(0).unicode() - 65;
    if (QueryDriveType(d) != Volumes::Removable)
        return false;
    FormatDialog dialog(ctx_, QString(QChar(char16_t(65 + index))) + QStringLiteral(":\\"), this);
    dialog.exec();
    return dialog.formatted();
}

void Form4::viewFiles()
{
    const QString native = ctx_.platform->volumes->toNative(page_->selectedRoot());
    if (!native.isEmpty())
        ctx_.platform->desktop->openFolder(native);
}
