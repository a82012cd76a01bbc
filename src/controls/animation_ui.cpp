#include "controls/animation_ui.h"

#include <QMovie>

Animation::Animation(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    setAccessibleName(QStringLiteral("File copy animation"));
}

bool Animation::Open(const QString& nativePath)
{
    if (movie_) {
        movie_->stop();
        setMovie(nullptr);
        delete movie_;
        movie_ = nullptr;
    }
    auto* movie = new QMovie(nativePath, QByteArray(), this);
    if (!movie->isValid()) {
        delete movie;
        return false;
    }
    movie_ = movie;
    movie_->jumpToFrame(0);
    const QSize natural = movie_->currentImage().size();
    if (!natural.isEmpty() && (natural.width() > width() || natural.height() > height()))
        movie_->setScaledSize(natural.scaled(size(), Qt::KeepAspectRatio));
    setMovie(movie_);
    if (autoPlay_)
        movie_->start();
    return true;
}

void Animation::Play()
{
    if (movie_)
        movie_->start();
}

void Animation::Stop()
{
    if (movie_)
        movie_->stop();
}

bool Animation::isPlaying() const
{
    return movie_ && movie_->state() == QMovie::Running;
}

QString Animation::fileName() const
{
    return movie_ ? movie_->fileName() : QString();
}
