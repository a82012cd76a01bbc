#pragma once
#include "support/copywizardfixture.h"
#include "upload/form3_ui.h"

inline const QString kExitQuestion = QStringLiteral("Exit Upload Wizard?");

// An upload wizard with a stick F: and a computer drive Z: (temporary folders),
// every service faked; the program folder is a test's own, without Path.ini.
class UploadTest : public CopyWizardTest<Form3> {
protected:
    static constexpr uint64_t kPcTotal = 2000000000;
    static constexpr uint64_t kPcFree = 1000000000;

    void prepare() override
    {
        QDir().mkpath(program + QStringLiteral("/Data"));
        fp.volumes.add(QLatin1Char('Z'), Volumes::Fixed, pc, {}, kPcTotal, kPcFree);
    }

    QString pathIni() const { return program + QStringLiteral("/Data/Path.ini"); }
    QByteArray pathIniBytes() const { return contents(pathIni()); }
    void remember(const QByteArray& line) { writeFile(pathIni(), line + "\r\n"); }

    // A folder of the computer drive Z:, made; returns its native path.
    QString pcFolder(const QString& relative)
    {
        const QString p = QDir(pc).filePath(relative);
        QDir().mkpath(p);
        return p;
    }
    // A file on the stick; returns its native path.
    QString onStick(const QString& relative, const QByteArray& data)
    {
        const QString p = QDir(stick).filePath(relative);
        writeFile(p, data);
        return p;
    }

    void toFrame2()
    {
        click("Command3");
        ASSERT_EQ(page(), QStringLiteral("Frame2"));
    }
    void change(const QString& native)
    {
        fp.dialogs.expectBrowseFolder(native);
        click("Command5");
    }
    void toFrame3(const QString& destinationNative)
    {
        toFrame2();
        change(destinationNative);
        click("Command7");
        ASSERT_EQ(page(), QStringLiteral("Frame3"));
    }
};
