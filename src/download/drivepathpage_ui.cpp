#include "download/drivepathpage_ui.h"

#include "app/pagecontrols_ui.h"

#include "controls/folderlist_ui.h"
#include "devices/getdrivepage_ui.h"
#include "platform/dialogs.h"
#include "platform/platform.h"
#include "platform/volumes.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {
const QString kPrefix = QStringLiteral("Destination: ");
const QString kNewFolderError = QStringLiteral("New Folder - Error!");
}

DrivePathPage::DrivePathPage(const AppContext& context, Config config, QWidget* window)
    : QFrame(window), ctx_(context), config_(std::move(config)), window_(window)
{
    setObjectName(QStringLiteral("Frame2"));
    setAutoFillBackground(true);
    resize(GetDrivePage::kWidth, GetDrivePage::kHeight);
    box_ = new QGroupBox(QStringLiteral("Download Wizard - Set Drive Path"), this);
    box_->setGeometry(0, 0, GetDrivePage::kWidth, GetDrivePage::kHeight);

    auto* label5 = new QLabel(QStringLiteral("Please select the destination to copy your files to."), box_);
    label5->setObjectName(QStringLiteral("Label5"));
    label5->setGeometry(16, 24, 540, 22);
    QFont bold = label5->font();
    bold.setBold(true);
    label5->setFont(bold);

    label6_ = new QLabel(QStringLiteral("Drive: F:\\"), box_);
    label6_->setObjectName(QStringLiteral("Label6"));
    label6_->setTextFormat(Qt::PlainText);
    label6_->setGeometry(16, 50, 300, 20);

    dir1_ = new FolderList(*ctx_.platform->volumes, box_);
    dir1_->setGeometry(16, 72, 420, 180);

    label8_ = new QLabel(kPrefix, box_);
    label8_->setObjectName(QStringLiteral("Label8"));
    label8_->setTextFormat(Qt::PlainText);
    label8_->setWordWrap(true);
    label8_->setGeometry(16, 256, 593, 34);

    auto button = [this](const char* name, const QString& text, const QString& tip, const QRect& r) {
        return makeButton(box_, QLatin1String(name), text, tip, r);
    };
    auto* c11 = button("Command11", QStringLiteral("New Folder"), QStringLiteral("Make a new folder in the selected drive"),
                       QRect(448, 72, 161, 30));
    auto* c7 = button("Command7", QStringLiteral("Back"), QStringLiteral("Go back"), QRect(336, 294, 85, 30));
    auto* c10 = button("Command10", QStringLiteral("Exit"), QStringLiteral("Exit this wizard"), QRect(428, 294, 85, 30));
    auto* c8 = button("Command8", QStringLiteral("Next"), QStringLiteral("Continue with the wizard's next step"),
                      QRect(520, 294, 85, 30));

    connect(dir1_, &FolderList::Change, this, &DrivePathPage::showDestination);
    connect(dir1_, &FolderList::Click, this, &DrivePathPage::showDestination);
    connect(c11, &QPushButton::clicked, this, &DrivePathPage::NewFolder);
    connect(c8, &QPushButton::clicked, this, &DrivePathPage::next);
    connect(c7, &QPushButton::clicked, this, [this] { if (config_.back) config_.back(); });
    connect(c10, &QPushButton::clicked, this, [this] { if (config_.exit) config_.exit(); });
}

QString DrivePathPage::title() const
{
    return box_->title();
}

QString DrivePathPage::destination() const
{
    return dir1_->Path();
}

QString DrivePathPage::destinationText() const
{
    return label8_->text();
}

void DrivePathPage::showDestination()
{
    label8_->setText(kPrefix + dir1_->Path());
}

void DrivePathPage::enter(const QString& root)
{
    dir1_->setPath(root);
    label6_->setText(QStringLiteral("Drive: ") + root);
    showDestination();
}

void DrivePathPage::tell(const QString& text, int icon)
{
    ctx_.platform->dialogs->message(window_, text, kNewFolderError, static_cast<Dialogs::Icon>(icon),
                                    Dialogs::Buttons::Ok);
}

QString DrivePathPage::folderNameProblem(const QString& name)
{
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    bool onlyDots = true;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || forbidden.contains(c))
            return QStringLiteral("A folder name cannot contain any of these characters: \\ / : * ? \" < > |");
        if (c != QLatin1Char('.'))
            onlyDots = false;
    }
    if (onlyDots)
        return QStringLiteral("A folder name cannot be made of dots only.");
    if (name.endsWith(QLatin1Char(' ')) || name.endsWith(QLatin1Char('.')))
        return QStringLiteral("A folder name cannot end with a space or a dot.");
    if (name.toUtf8().size() > 255)
        return QStringLiteral("The folder name is too long.");
    return {};
}

void DrivePathPage::NewFolder()
{
    const QString name = ctx_.platform->dialogs->input(window_, QStringLiteral("Enter the name for the New Folder"),
                                                      QStringLiteral("New Folder"), QString());
    if (name.isEmpty())
        return;
    const QString problem = folderNameProblem(name);
    if (!problem.isEmpty()) {
        tell(QStringLiteral("The name \"") + name + QStringLiteral("\" cannot be used! ") + problem,
             int(Dialogs::Icon::Exclamation));
        return;
    }
    const QString parent = dir1_->Path();
    const QString parentNative = ctx_.platform->volumes->toNative(parent);
    const QString target = parentNative.isEmpty() ? QString() : QDir(parentNative).filePath(name);
    const QFileInfo there(target);
    if (!target.isEmpty() && (there.exists() || there.isSymLink())) {
        tell(QStringLiteral("A folder or file named \"") + name + QStringLiteral("\" is already in ") + parent
                 + QStringLiteral("!"),
             int(Dialogs::Icon::Exclamation));
        return;
    }
    // mkdir, not mkpath: exactly one new folder, directly inside the open one.
    if (target.isEmpty() || !QDir(parentNative).mkdir(name)) {
        tell(QStringLiteral("The folder \"") + name + QStringLiteral("\" could not be made in ") + parent
                 + QStringLiteral("! The drive may be write-protected, full or removed."),
             int(Dialogs::Icon::Critical));
        return;
    }
    dir1_->Refresh();
    showDestination();
}

void DrivePathPage::next()
{
    const QString folder = dir1_->Path();
    const QString native = folder.isEmpty() ? QString() : ctx_.platform->volumes->toNative(folder);
    if (!probeWritable(native, QStringLiteral("Test.dat"), QByteArrayLiteral("Test\r\n"))) {
        ctx_.platform->dialogs->message(
            window_,
            QStringLiteral("Files cannot be copied to ") + folder
                + QStringLiteral("! The drive may be write-protected, full or removed, or the folder may be gone. "
                                 "Please check the drive or choose another folder."),
            QStringLiteral("Destination Error!"), Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
        return;
    }
    if (config_.next)
        config_.next();
}
