#include "download/copylistpage_ui.h"

#include "app/inputhold.h"
#include "app/pagecontrols_ui.h"

#include "controls/artwork_ui.h"
#include "devices/getdrivepage_ui.h"
#include "download/filelisting.h"
#include "download/listsummary.h"
#include "platform/dialogs.h"
#include "platform/platform.h"
#include "platform/volumes.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

namespace {
constexpr int kNativeRole = Qt::UserRole;
constexpr int kSizeRole = Qt::UserRole + 1;
constexpr int kShownRefusals = 10;
// Longest stretch a long add goes without letting events run.
constexpr qint64 kPassMs = 30;

QString joinLetter(const QString& folder, const QString& name)
{
    return folder.endsWith(QLatin1Char('\\')) ? folder + name : folder + QLatin1Char('\\') + name;
}
}  // namespace

CopyListPage::CopyListPage(const AppContext& context, Config config, QWidget* window)
    : QFrame(window), ctx_(context), config_(std::move(config)), window_(window)
{
    setObjectName(QStringLiteral("Frame3"));
    // Opaque: a page never shows the one it covers through it.
    setAutoFillBackground(true);
    resize(GetDrivePage::kWidth, GetDrivePage::kHeight);
    box_ = new QGroupBox(config_.caption, this);
    box_->setGeometry(0, 0, GetDrivePage::kWidth, GetDrivePage::kHeight);

    heading_ = new QLabel(config_.heading, box_);
    heading_->setObjectName(QStringLiteral("Label9"));
    heading_->setWordWrap(true);
    heading_->setGeometry(16, 22, 540, 38);
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);

    auto* caption = new QLabel(QStringLiteral("Copy List"), box_);
    caption->setObjectName(QStringLiteral("Label11"));
    caption->setGeometry(16, 62, 200, 18);

    list1_ = new QListWidget(box_);
    list1_->setObjectName(QStringLiteral("List1"));
    list1_->setGeometry(16, 80, 420, 168);
    list1_->setSelectionMode(QAbstractItemView::SingleSelection);
    // Measuring thousands of entries at once would hold the window still; in batches
    // events run between them.
    list1_->setLayoutMode(QListView::Batched);
    list1_->setMouseTracking(true);
    list1_->viewport()->installEventFilter(this);
    list1_->setAccessibleName(QStringLiteral("Copy List"));

    auto button = [this](const char* name, const QString& text, const QString& tip, const QPixmap& icon, int y) {
        auto* b = new QPushButton(QIcon(icon), text, box_);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(tip);
        b->setGeometry(448, y, 161, 30);
        return b;
    };
    auto* c16 = button("Command16", config_.addCaption,
                       QStringLiteral("Click to add files to copy list. You may add multiple files from the same folder."),
                       artAddFileIcon(16), 80);
    auto* c17 = button("Command17", QStringLiteral("Erase File"), QStringLiteral("Remove selected file on list"),
                       artRemoveIcon(16), 114);
    auto* c18 = button("Command18", QStringLiteral("Clear List"), QStringLiteral("Remove all files from copy list."),
                       artClearIcon(16), 148);
    auto* c19 = button("Command19", QStringLiteral("Add from folder"), QStringLiteral("Add all files from a specific folder."),
                       artAddFolderIcon(16), 182);

    label20_ = new QLabel(box_);
    label20_->setObjectName(QStringLiteral("Label20"));
    label20_->setGeometry(16, 252, 420, 20);
    label20_->setFont(bold);

    p1_ = new QProgressBar(box_);
    p1_->setObjectName(QStringLiteral("p1"));
    p1_->setGeometry(16, 276, 310, 14);
    p1_->setMinimum(0);
    p1_->setMaximum(1);
    p1_->setValue(0);
    p1_->setTextVisible(false);
    label19_ = new QLabel(box_);
    label19_->setObjectName(QStringLiteral("Label19"));
    label19_->setGeometry(16, 292, 316, 36);
    label19_->setWordWrap(true);

    auto nav = [this](const char* name, const QString& text, const QString& tip, int x) {
        return makeButton(box_, QLatin1String(name), text, tip, QRect(x, 294, 85, 30));
    };
    auto* c12 = nav("Command12", QStringLiteral("Back"), QStringLiteral("Go back"), 336);
    auto* c15 = nav("Command15", QStringLiteral("Exit"), QStringLiteral("Exit this wizard"), 428);
    auto* c13 = nav("Command13", QStringLiteral("Next"), QStringLiteral("Continue wizard's next step"), 520);

    connect(c16, &QPushButton::clicked, this, &CopyListPage::AddFile);
    connect(c17, &QPushButton::clicked, this, &CopyListPage::EraseFile);
    connect(c18, &QPushButton::clicked, this, &CopyListPage::ClearList);
    connect(c19, &QPushButton::clicked, this, &CopyListPage::AddFromFolder);
    connect(c12, &QPushButton::clicked, this, [this] { if (config_.back) config_.back(); });
    connect(c13, &QPushButton::clicked, this, [this] { if (config_.next) config_.next(); });
    connect(c15, &QPushButton::clicked, this, [this] { if (config_.exit) config_.exit(); });
    connect(list1_, &QListWidget::itemClicked, this, &CopyListPage::updateTooltip);
}

QString CopyListPage::title() const
{
    return box_->title();
}

QString CopyListPage::summaryText() const
{
    return label20_->text();
}

int CopyListPage::count() const
{
    return list1_->count();
}

QString CopyListPage::entry(int i) const
{
    const QListWidgetItem* it = list1_->item(i);
    return it ? it->text() : QString();
}

QString CopyListPage::entryNative(int i) const
{
    const QListWidgetItem* it = list1_->item(i);
    return it ? it->data(kNativeRole).toString() : QString();
}

void CopyListPage::resetList()
{
    list1_->clear();
    label20_->setText(QStringLiteral("No files"));
    listTotalBytes_ = 0;
    listSizeText_.clear();
}

bool CopyListPage::addNative(const QFileInfo& info, const QString& native, bool* refused)
{
    *refused = false;
    // A file whose size cannot be read is left out, so the total never counts a guess.
    if (!info.isFile())
        return false;
    const QString letter = ctx_.platform->volumes->toLetter(native);
    if (letter.isEmpty()) {
        *refused = true;
        return false;
    }
    const qint64 size = info.size();
    // Filled before it joins the list: each change to a listed item is a signal the view handles.
    auto* item = new QListWidgetItem(letter);
    item->setData(kNativeRole, native);
    item->setData(kSizeRole, size);
    list1_->addItem(item);
    listTotalBytes_ += toFixed(size);
    return true;
}

void CopyListPage::refuseBackslashNames(const QStringList& names)
{
    if (names.isEmpty())
        return;
    QString text = QStringLiteral("These files cannot be added because their names hold a backslash (\\):");
    for (int i = 0; i < names.size() && i < kShownRefusals; ++i)
        text += QLatin1Char('\n') + names.at(i);
    if (names.size() > kShownRefusals)
        text += QStringLiteral("\n(and ") + QString::number(names.size() - kShownRefusals) + QStringLiteral(" more)");
    ctx_.platform->dialogs->message(window_, text, QStringLiteral("Error"), Dialogs::Icon::Exclamation,
                                    Dialogs::Buttons::Ok);
}

void CopyListPage::AddFile()
{
    QString initial;
    if (config_.keepPreviousChoice) {
        initial = previousChoice_;
        if (initial.isEmpty() && config_.firstDialogFolder) {
            const QString root = config_.firstDialogFolder();
            if (!root.isEmpty())
                initial = ctx_.platform->volumes->toNative(root);
        }
    }
    const QStringList files = ctx_.platform->dialogs->openFiles(
        window_, QStringLiteral("Add files - You may select several files from the same folder."), initial,
        QStringLiteral("All Files (*.*)|*.*"));
    if (config_.keepPreviousChoice && !files.isEmpty())
        previousChoice_ = files.first();
    QStringList refusedNames;
    for (const QString& f : files) {
        bool refused = false;
        if (!addNative(QFileInfo(f), f, &refused) && refused)
            refusedNames << f;
    }
    ShowListSummary();
    refuseBackslashNames(refusedNames);
}

void CopyListPage::EraseFile()
{
    const QList<QListWidgetItem*> selected = list1_->selectedItems();
    if (selected.isEmpty()) {
        ctx_.platform->dialogs->message(window_, QStringLiteral("Please select a file!"),
                                        QStringLiteral("Delete file from list - Error!"), Dialogs::Icon::Critical,
                                        Dialogs::Buttons::Ok);
        return;
    }
    QListWidgetItem* item = selected.first();
    listTotalBytes_ -= toFixed(item->data(kSizeRole).toLongLong());
    delete item;
    list1_->clearSelection();
    list1_->setCurrentRow(-1);
    ShowListSummary();
}

void CopyListPage::ClearList()
{
    const auto answer = ctx_.platform->dialogs->message(window_, QStringLiteral("Remove all added files from list?"),
                                                        QStringLiteral("Question"), Dialogs::Icon::Question,
                                                        Dialogs::Buttons::YesNo);
    if (answer != Dialogs::Answer::Yes)
        return;
    resetList();
}

void CopyListPage::AddFromFolder()
{
    const QString folder =
        ctx_.platform->dialogs->browseFolder(window_, QStringLiteral("Select the folder to get files from"), QString());
    if (folder.isEmpty())
        return;
    const QString letterFolder = ctx_.platform->volumes->toLetter(folder);
    if (letterFolder.isEmpty()) {
        ctx_.platform->dialogs->message(
            window_,
            QStringLiteral("This folder cannot be used because its name holds a backslash (\\)! Please select another folder."),
            QStringLiteral("Error"), Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
        return;
    }
    // A folder of tens of thousands of files takes a while: the window keeps painting
    // and its timers keep ticking meanwhile, with input held off.
    const QPointer<CopyListPage> self(this);
    InputHold hold;
    QElapsedTimer sincePass;
    sincePass.start();
    const auto pass = [&sincePass] {
        if (sincePass.elapsed() < kPassMs)
            return;
        QCoreApplication::processEvents();
        sincePass.restart();
    };
    QFileInfoList files;
    const bool listed = listOrdinaryFiles(folder, &files, pass);
    if (!self || !listed || files.isEmpty())
        return;
    QStringList refusedNames;
    const QString base = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    for (const QFileInfo& file : files) {
        bool refused = false;
        const QString name = file.fileName();
        if (!addNative(file, base + name, &refused) && refused)
            refusedNames << joinLetter(letterFolder, name);
        pass();
        if (!self)
            return;
    }
    ShowListSummary();
    refuseBackslashNames(refusedNames);
}

void CopyListPage::ShowListSummary()
{
    const ListSummaryText s = listSummary(list1_->count(), listTotalBytes_);
    listSizeText_ = s.sizeText;
    label20_->setText(s.summary);
}

void CopyListPage::setUsage(const Module2::Usage& usage)
{
    // A maximum of 0 would turn the bar into a busy indicator.
    const int maximum = usage.maximum > 0 ? usage.maximum : 1;
    p1_->setMaximum(maximum);
    p1_->setValue(usage.maximum > 0 ? qBound(0, usage.value, maximum) : 0);
    label19_->setText(usage.caption);
}

void CopyListPage::updateTooltip()
{
    const QListWidgetItem* it = list1_->selectedItems().isEmpty() ? nullptr : list1_->selectedItems().first();
    list1_->setToolTip(QStringLiteral("Selected file: ") + (it ? it->text() : QString()));
}

bool CopyListPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == list1_->viewport() && event->type() == QEvent::MouseMove)
        updateTooltip();
    return QFrame::eventFilter(watched, event);
}
