#include "controls/moviebox_ui.h"

#include <QMovie>
#include <QPainter>

MovieBox::MovieBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoMousePropagation);
}

MovieBox::~MovieBox() = default;

void MovieBox::setMovie(const QString& nativePath)
{
    path_ = nativePath;
    framesLoaded_ = 0;
    delete movie_;
    movie_ = new QMovie(nativePath, QByteArray(), this);
    // Frames are decoded as they play and not kept: the intro is played once,
    // straight through, and keeping every full-size frame would cost ~1.6 MB each.
    movie_->setCacheMode(QMovie::CacheNone);
    connect(movie_, &QMovie::frameChanged, this, &MovieBox::frameArrived);
    movie_->start();
}

void MovieBox::frameArrived(int number)
{
    framesLoaded_ = qMax(framesLoaded_, number + 1);
    update();
}

void MovieBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (!movie_ || framesLoaded_ == 0)
        return;
    const QPixmap frame = movie_->currentPixmap();
    if (frame.isNull())
        return;
    QSize fitted = frame.deviceIndependentSize().toSize().scaled(size(), Qt::KeepAspectRatio);
    QRect target(QPoint(0, 0), fitted);
    target.moveCenter(rect().center());
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(target, frame);
}
