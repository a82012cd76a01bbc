#include "shell/dialog_ui.h"

#include "configure/form4_ui.h"
#include "download/form1_ui.h"
#include "upload/form3_ui.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace {
int px(int twips, qreal scale)
{
    return qRound(twips / 15.0 * scale);
}

QTimer* makeTimer(QObject* owner, const char* name, int interval, bool enabled)
{
    auto* t = new QTimer(owner);
    t->setObjectName(QLatin1String(name));
    t->setInterval(interval);
    if (enabled)
        t->start();
    return t;
}
}

Dialog::Dialog(const AppContext& context)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), ctx_(context)
{
    setObjectName(QStringLiteral("Dialog"));
    setWindowTitle(QStringLiteral("Dialog Caption"));
    const qreal scale = logicalDpiX() / 96.0;
    setFixedSize(px(5340, scale), px(540, scale));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    label1_ = new QLabel(QStringLiteral("Initializing device - please wait"), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setGeometry(px(405, scale), px(135, scale), px(4755, scale), px(270, scale));
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSize(12);
    f.setBold(true);
    label1_->setFont(f);
    label1_->setAttribute(Qt::WA_TranslucentBackground);
    label1_->setStyleSheet(QStringLiteral("color: white; background: transparent;"));

    // Load: the dot animation starts from its first pattern.
    dotPhase = 1;
    timer1_ = makeTimer(this, "Timer1", 100, true);
    timer2_ = makeTimer(this, "Timer2", 1000, false);
    timer3_ = makeTimer(this, "Timer3", 1000, false);
    timer4_ = makeTimer(this, "Timer4", 1000, false);
    connect(timer1_, &QTimer::timeout, this, &Dialog::Timer1_Timer);
    connect(timer2_, &QTimer::timeout, this, [this] { open<Form1>(timer2_); });
    connect(timer3_, &QTimer::timeout, this, [this] { open<Form3>(timer3_); });
    connect(timer4_, &QTimer::timeout, this, [this] { open<Form4>(timer4_); });

    // It has no owner window: centre it on the screen.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r(QPoint(0, 0), size());
        r.moveCenter(screen->geometry().center());
        move(r.topLeft());
    }
}

QTimer* Dialog::opener(int number) const
{
    switch (number) {
    case 2: return timer2_;
    case 3: return timer3_;
    case 4: return timer4_;
    }
    return nullptr;
}

void Dialog::Timer1_Timer()
{
    static const char* const patterns[] = {" - please wait.", " - please wait..", " - please wait...", " - please wait"};
    const int i = (dotPhase >= 1 && dotPhase <= 4) ? dotPhase - 1 : 3;
    label1_->setText(waitText + QLatin1String(patterns[i]));
    dotPhase = int16_t(i == 3 ? 1 : i + 2);
}

template <typename Wizard>
void Dialog::open(QTimer* timer)
{
    QPointer<Dialog> self(this);
    auto* wizard = new Wizard(ctx_);
    wizard->show();
    wizard->showcontrol();
    // showcontrol normally unloads this window; then there is nothing left to stop.
    if (self && !unloaded_)
        timer->stop();
}

void Dialog::Hideforever()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    timer1_->stop();
    timer2_->stop();
    timer3_->stop();
    timer4_->stop();
    hide();
    emit unloaded();
    // Hideforever may run inside one of this window's own timer ticks.
    deleteLater();
}

void Dialog::closeEvent(QCloseEvent* e)
{
    // Closing it by hand would strand the user: the main window is hidden and the
    // opener would never fire. Only Hideforever unloads it.
    if (!unloaded_)
        e->ignore();
}

void WaitWindow::SetTex(const QString& text)
{
    if (dialog_)
        dialog_->SetTex(text);
}

void WaitWindow::Hideforever()
{
    if (Dialog* d = dialog_) {
        dialog_.clear();
        d->Hideforever();
    }
}

Dialog* WaitWindow::load()
{
    if (!dialog_) {
        Dialog* d = new Dialog(ctx_);
        dialog_ = d;
        QObject::connect(d, &Dialog::unloaded, d, [this] { dialog_.clear(); });
    }
    return dialog_;
}
