#include "download/reviewpage_ui.h"

#include "app/pagecontrols_ui.h"

#include "controls/artwork_ui.h"
#include "devices/getdrivepage_ui.h"
#include "platform/dialogs.h"
#include "platform/platform.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

const QColor ReviewPage::kRed = QColor(255, 0, 0);
const QColor ReviewPage::kWhite = QColor(255, 255, 255);

namespace {
// Neither red nor white: the fit was not computed.
const QColor kUnknown(255, 200, 80);
const QColor kPanel(16, 36, 84);

void setTextColour(QLabel* l, const QColor& c)
{
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, c);
    l->setPalette(p);
}
}  // namespace

ReviewPage::ReviewPage(const AppContext& context, Config config, QWidget* window)
    : QFrame(window), ctx_(context), config_(std::move(config)), window_(window),
      drives_(*context.platform->volumes, *context.platform->dialogs)
{
    setObjectName(QStringLiteral("Frame4"));
    setAutoFillBackground(true);
    resize(GetDrivePage::kWidth, GetDrivePage::kHeight);
    box_ = new QGroupBox(config_.caption, this);
    box_->setGeometry(0, 0, GetDrivePage::kWidth, GetDrivePage::kHeight);

    auto* label12 = new QLabel(config_.heading, box_);
    label12->setObjectName(QStringLiteral("Label12"));
    label12->setGeometry(16, 22, 540, 30);
    label12->setWordWrap(true);
    QFont bold = label12->font();
    bold.setBold(true);
    label12->setFont(bold);

    auto group = [this](const char* name, const QString& title, const QRect& r, const QPixmap& picture) {
        auto* g = new QGroupBox(title, box_);
        g->setObjectName(QLatin1String(name));
        g->setGeometry(r);
        // The dark panel the white fit colour is read against.
        g->setAutoFillBackground(true);
        QPalette p = g->palette();
        p.setColor(QPalette::Window, kPanel);
        p.setColor(QPalette::WindowText, kWhite);
        g->setPalette(p);
        auto* pic = new QLabel(g);
        pic->setPixmap(picture);
        pic->setGeometry(10, 26, 48, 48);
        pic->setAccessibleName(title);
        return g;
    };
    QGroupBox* frame6 = group("Frame6", QStringLiteral("Drive Details"), QRect(16, 56, 593, 92), artReviewDrive(48));
    QGroupBox* frame5 =
        group("Frame5", QStringLiteral("Files to Copy Details"), QRect(16, 154, 593, 130), artReviewFiles(48));

    auto label = [](QGroupBox* g, const char* name, const QString& text, int y) {
        auto* l = new QLabel(text, g);
        l->setObjectName(QLatin1String(name));
        l->setTextFormat(Qt::PlainText);
        l->setGeometry(70, y, 513, 20);
        setTextColour(l, kWhite);
        return l;
    };
    label16_ = label(frame6, "Label16", QStringLiteral("Name:"), 20);
    label15_ = label(frame6, "Label15", QStringLiteral("Drive: "), 42);
    label14_ = label(frame6, "Label14", QStringLiteral("Size:"), 64);
    label18_ = label(frame5, "Label18", QStringLiteral("Destination: "), 20);
    label17_ = label(frame5, "Label17", QStringLiteral("Number of files:"), 44);
    label13_ = label(frame5, "Label13", QStringLiteral("Avaliable Space:"), 68);
    label10_ = label(frame5, "Label10", QStringLiteral("Drive Space Required:"), 92);
    QFont b10 = label10_->font();
    b10.setBold(true);
    label10_->setFont(b10);

    auto nav = [this](const char* name, const QString& text, const QString& tip, int x) {
        return makeButton(box_, QLatin1String(name), text, tip, QRect(x, 294, 85, 30));
    };
    auto* c24 = nav("Command24", QStringLiteral("Back"), QStringLiteral("Go back"), 336);
    auto* c22 = nav("Command22", QStringLiteral("Exit"), QStringLiteral("Exit this wizard"), 428);
    auto* c23 = nav("Command23", config_.copyCaption, config_.copyTooltip, 520);
    connect(c24, &QPushButton::clicked, this, [this] { if (config_.back) config_.back(); });
    connect(c22, &QPushButton::clicked, this, [this] { if (config_.exit) config_.exit(); });
    connect(c23, &QPushButton::clicked, this, [this] {
        if (checkCopy() && config_.copy)
            config_.copy();
    });
}

QString ReviewPage::title() const
{
    return box_->title();
}

QColor ReviewPage::fitColour() const
{
    return label10_->palette().color(QPalette::WindowText);
}

bool ReviewPage::fill(const Facts& f)
{
    Dialogs& dialogs = *ctx_.platform->dialogs;
    if (f.count <= 0) {
        dialogs.message(window_,
                        QStringLiteral("You do not have any files! Please add some! If you need help click on the question mark."),
                        QStringLiteral("Copy Error!"), Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
        return false;
    }
    FixedBytes free = 0;
    fitKnown_ = drives_.DriveFreeBytes(f.freeRoot, &free);
    if (fitKnown_)
        setTextColour(label10_, f.listTotalBytes > free ? kRed : kWhite);
    else
        setTextColour(label10_, kUnknown);
    count_ = f.count;

    label10_->setText(QStringLiteral("Drive Space Required: ") + f.listSizeText);
    label15_->setText(QStringLiteral("Drive: ") + f.driveRoot);
    label16_->setText(QStringLiteral("Name: ") + f.driveName);
    label14_->setText(QStringLiteral("Size: ") + drives_.sizeOfDrive(f.chosenDrive));
    label13_->setText(QStringLiteral("Avaliable Space: ")
                      + (fitKnown_ ? drives_.spaceLeftOn(f.freeRoot) : QStringLiteral("cannot be read")));
    label18_->setText(f.destinationLine);
    label17_->setText(QStringLiteral("Number of files to copy: ") + QString::number(f.count));
    return true;
}

bool ReviewPage::checkCopy()
{
    Dialogs& dialogs = *ctx_.platform->dialogs;
    const auto refuse = [&](const QString& text) {
        dialogs.message(window_, text, QStringLiteral("Copy Error!"), Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
        return false;
    };
    if (fitColour() == kRed)
        return refuse(QStringLiteral("You do not have enough disk space! Please check files!"));
    if (count_ <= 0)
        return refuse(QStringLiteral("You do not have any files! Please go back and add some!"));
    if (!fitKnown_)
        return refuse(QStringLiteral("The free space of the drive could not be read, so the wizard cannot tell "
                                     "whether your files fit! Please check the drive and go back to try again."));
    return true;
}
