#include "upload/destinationpage_ui.h"

#include "app/pagecontrols_ui.h"

#include "devices/getdrivepage_ui.h"
#include "platform/dialogs.h"
#include "platform/platform.h"
#include "platform/volumes.h"
#include "upload/pathini.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

const QString kPrefix = QStringLiteral("Destination: ");


}  // namespace

DestinationPage::DestinationPage(const AppContext& context, Config config, QWidget* window)
    : QFrame(window), ctx_(context), config_(std::move(config)), window_(window)
{
    setObjectName(QStringLiteral("Frame2"));
    setGeometry(8, 8, GetDrivePage::kWidth, GetDrivePage::kHeight);
    // An opaque page hides the one it covers.
    setAutoFillBackground(true);

    box_ = new QGroupBox(QStringLiteral("Upload Wizard - Select Destination"), this);
    box_->setGeometry(0, 0, GetDrivePage::kWidth, GetDrivePage::kHeight);

    label5_ = new QLabel(
        QStringLiteral("Select the destination to copy the files from your drive to your computer"), box_);
    label5_->setObjectName(QStringLiteral("Label5"));
    label5_->setWordWrap(true);
    label5_->setGeometry(16, 30, 540, 40);
    QFont heading = label5_->font();
    heading.setBold(true);
    label5_->setFont(heading);

    label6_ = new QLabel(QStringLiteral("Destination: None Set"), box_);
    label6_->setObjectName(QStringLiteral("Label6"));
    label6_->setWordWrap(true);
    label6_->setTextFormat(Qt::PlainText);
    label6_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label6_->setGeometry(16, 110, 490, 64);

    command5_ = makeButton(box_, "Command5", QStringLiteral("Change"), {}, QRect(520, 127, 85, 30));

    // Same places as on the Get Drive page, so the buttons do not jump between pages.
    command9_ = makeButton(box_, "Command9", QStringLiteral("Back"), QStringLiteral("Go back"),
                           QRect(336, 294, 85, 30));
    command8_ = makeButton(box_, "Command8", QStringLiteral("Exit"), QStringLiteral("Exit wizard"),
                           QRect(428, 294, 85, 30));
    command7_ = makeButton(box_, "Command7", QStringLiteral("Next"),
                           QStringLiteral("Continue with the wizard's next step"), QRect(520, 294, 85, 30));
    command7_->setDefault(true);

    connect(command5_, &QPushButton::clicked, this, &DestinationPage::change);
    connect(command7_, &QPushButton::clicked, this, &DestinationPage::next);
    connect(command9_, &QPushButton::clicked, this, [this] {
        if (config_.back)
            config_.back();
    });
    connect(command8_, &QPushButton::clicked, this, [this] {
        if (config_.exit)
            config_.exit();
    });
}

QString DestinationPage::title() const
{
    return box_->title();
}

QString DestinationPage::destinationText() const
{
    return label6_->text();
}

void DestinationPage::enter()
{
    destinationPath_ = PathIni::read(ctx_.platform->programFolder);
    label6_->setText(kPrefix + destinationPath_);
}

void DestinationPage::change()
{
    const QString native = ctx_.platform->dialogs->browseFolder(
        window_, QStringLiteral("Browse Folder for destination"), QString());
    if (native.isEmpty())
        return;
    const QString letter = ctx_.platform->volumes->toLetter(native);
    if (letter.isEmpty()) {
        // Linux allows '\' in a name; in letter form it would name another folder.
        refuse(QStringLiteral("This folder cannot be used because its name holds a backslash (\\)! "
                              "Please select another folder."));
        return;
    }
    destinationPath_ = letter;
    label6_->setText(kPrefix + destinationPath_);
}

void DestinationPage::refuse(const QString& text)
{
    ctx_.platform->dialogs->message(window_, text, QStringLiteral("Error"), Dialogs::Icon::Exclamation,
                                    Dialogs::Buttons::Ok);
}

void DestinationPage::next()
{
    if (destinationPath_.isEmpty()) {
        refuse(QStringLiteral("Please click Change and select the folder to copy your files to!"));
        return;
    }
    if (!destinationPath_.endsWith(QLatin1Char('\\')))
        destinationPath_ += QLatin1Char('\\');

    const QString native = ctx_.platform->volumes->toNative(destinationPath_);
    if (native.isEmpty() || !QFileInfo(native).isDir()) {
        refuse(QStringLiteral("The destination folder does not exist! Please click Change and select another "
                              "folder."));
        return;
    }
    if (!probeWritable(native, QStringLiteral("Test.dat"), QByteArrayLiteral("Test\r\n"))) {
        refuse(QStringLiteral("The destination folder cannot be written to! Please click Change and select "
                              "another folder."));
        return;
    }

    destinationDrive_ = destinationPath_.left(1);
    if (!PathIni::write(ctx_.platform->programFolder, destinationPath_)) {
        // The upload itself can go ahead; only the memory for next time is lost.
        ctx_.platform->dialogs->message(
            window_, QStringLiteral("The destination folder could not be remembered for your next upload."),
            QString(), Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
    }
    if (config_.next)
        config_.next();
}
