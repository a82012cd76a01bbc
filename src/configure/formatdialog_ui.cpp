#include "configure/formatdialog_ui.h"

#include "devices/module2.h"
#include "platform/dialogs.h"
#include "platform/linux/fsrules.h"
#include "platform/platform.h"
#include "platform/volumes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QVBoxLayout>

FormatDialog::FormatDialog(const AppContext& context, const QString& root, QWidget* owner)
    : QDialog(owner), ctx_(context), root_(root)
{
    setObjectName(QStringLiteral("FormatDialog"));
    setWindowTitle(QStringLiteral("Format ") + root_);
    setModal(true);
    setMinimumWidth(460);

    Platform& p = *ctx_.platform;
    Module2 drives(*p.volumes, *p.dialogs);

    auto* form = new QFormLayout;
    capacity_ = new QLabel(drives.sizeOfDriveB(root_), this);
    capacity_->setObjectName(QStringLiteral("capacity"));
    form->addRow(QStringLiteral("Capacity:"), capacity_);

    fileSystem_ = new QComboBox(this);
    fileSystem_->setObjectName(QStringLiteral("fileSystem"));
    auto* model = qobject_cast<QStandardItemModel*>(fileSystem_->model());
    QStringList missing;
    int firstAvailable = -1;
    for (const QString& type : formattableFileSystems()) {
        const FsRules* rules = fsRules(type);
        fileSystem_->addItem(rules ? rules->displayName : type, type);
        QString why;
        const bool can = p.formatter && p.formatter->canFormat(type, &why);
        if (!p.formatter)
            why = QStringLiteral("formatting is not available on this computer");
        if (!can) {
            QStandardItem* item = model->item(fileSystem_->count() - 1);
            item->setEnabled(false);
            item->setToolTip(why);
            missing << fileSystem_->itemText(fileSystem_->count() - 1) + QStringLiteral(": ") + why;
        } else if (firstAvailable < 0) {
            firstAvailable = fileSystem_->count() - 1;
        }
    }
    fileSystem_->setCurrentIndex(firstAvailable);
    form->addRow(QStringLiteral("File system:"), fileSystem_);
    fsNote_ = new QLabel(missing.join(QLatin1Char('\n')), this);
    fsNote_->setObjectName(QStringLiteral("fsNote"));
    fsNote_->setWordWrap(true);
    fsNote_->setEnabled(false);
    fsNote_->setVisible(!missing.isEmpty());
    form->addRow(QString(), fsNote_);

    label_ = new QLineEdit(drives.GetDriveName(root_), this);
    label_->setObjectName(QStringLiteral("volumeLabel"));
    form->addRow(QStringLiteral("Volume label:"), label_);
    labelNote_ = new QLabel(this);
    labelNote_->setObjectName(QStringLiteral("labelNote"));
    labelNote_->setWordWrap(true);
    // Room for a two-line reason, so the dialog does not jump while the person types.
    labelNote_->setMinimumHeight(2 * labelNote_->fontMetrics().lineSpacing() + 2);
    labelNote_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    form->addRow(QString(), labelNote_);

    quick_ = new QCheckBox(QStringLiteral("Quick format (skip erasing every block)"), this);
    quick_->setObjectName(QStringLiteral("quickFormat"));
    quick_->setChecked(true);
    form->addRow(QString(), quick_);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setRange(0, 1);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    status_->setWordWrap(true);

    startButton_ = new QPushButton(QStringLiteral("Start"), this);
    startButton_->setObjectName(QStringLiteral("startButton"));
    closeButton_ = new QPushButton(QStringLiteral("Close"), this);
    closeButton_->setObjectName(QStringLiteral("closeButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(startButton_);
    buttons->addWidget(closeButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(progress_);
    layout->addWidget(status_);
    layout->addLayout(buttons);

    if (firstAvailable < 0)
        status_->setText(QStringLiteral("No file system can be made on this computer."));
    connect(fileSystem_, &QComboBox::currentIndexChanged, this, &FormatDialog::checkLabel);
    connect(label_, &QLineEdit::textChanged, this, &FormatDialog::checkLabel);
    connect(startButton_, &QPushButton::clicked, this, &FormatDialog::start);
    connect(closeButton_, &QPushButton::clicked, this, &FormatDialog::reject);
    checkLabel();
}

QString FormatDialog::chosenFileSystem() const
{
    return fileSystem_->currentIndex() < 0 ? QString() : fileSystem_->currentData().toString();
}

void FormatDialog::checkLabel()
{
    const FsRules* rules = fsRules(chosenFileSystem());
    QString why;
    const bool ok = rules && rules->checkLabel(label_->text(), &why);
    labelNote_->setText(ok ? QString() : why);
    startButton_->setEnabled(ok && !busy_);
}

void FormatDialog::start()
{
    if (busy_ || !startButton_->isEnabled())
        return;
    Platform& p = *ctx_.platform;
    const QString title = QStringLiteral("Format ") + root_;
    if (p.dialogs->message(this,
                           QStringLiteral("Every file on drive ") + root_
                               + QStringLiteral(" will be erased. Format the drive now?"),
                           title, Dialogs::Icon::Question, Dialogs::Buttons::YesNo)
        != Dialogs::Answer::Yes)
        return;

    Formatter::Options options;
    options.fileSystem = chosenFileSystem();
    options.label = label_->text();
    options.quick = quick_->isChecked();

    busy_ = true;
    for (QWidget* w : std::initializer_list<QWidget*>{fileSystem_, label_, quick_, startButton_, closeButton_})
        w->setEnabled(false);
    progress_->setValue(0);
    status_->setText(QStringLiteral("Formatting drive ") + root_ + QStringLiteral(" ..."));
    QCoreApplication::processEvents();

    QString why;
    const bool ok = p.formatter->format(root_, options, &why);
    busy_ = false;
    for (QWidget* w : std::initializer_list<QWidget*>{fileSystem_, label_, quick_, closeButton_})
        w->setEnabled(true);
    checkLabel();
    progress_->setValue(ok ? 1 : 0);
    if (ok) {
        formatted_ = true;
        capacity_->setText(Module2(*p.volumes, *p.dialogs).sizeOfDriveB(root_));
        status_->setText(QStringLiteral("Drive ") + root_ + QStringLiteral(" has been formatted."));
        p.dialogs->message(this, QStringLiteral("Drive ") + root_ + QStringLiteral(" has been formatted."), title,
                           Dialogs::Icon::Information, Dialogs::Buttons::Ok);
    } else {
        status_->setText(QStringLiteral("Drive ") + root_ + QStringLiteral(" could not be formatted: ") + why);
        p.dialogs->message(this, QStringLiteral("Drive ") + root_ + QStringLiteral(" could not be formatted: ") + why,
                           title, Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
    }
}

void FormatDialog::reject()
{
    // A format half done must not lose its window: the outcome still has to be told.
    if (busy_)
        return;
    QDialog::reject();
}
