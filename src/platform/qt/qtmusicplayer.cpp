#include "platform/qt/qtmusicplayer.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>

QtMusicPlayer::QtMusicPlayer(QObject* parent) : QObject(parent) {}

QtMusicPlayer::~QtMusicPlayer()
{
    if (player_)
        player_->stop();
}

void QtMusicPlayer::fail()
{
    failed_ = true;
    if (player_)
        player_->stop();
}

bool QtMusicPlayer::ensurePlayer()
{
    if (player_)
        return true;
    // Without an output device the player would never reach the end.
    if (QMediaDevices::audioOutputs().isEmpty())
        return false;
    player_ = new QMediaPlayer(this);
    output_ = new QAudioOutput(this);
    player_->setAudioOutput(output_);
    connect(player_, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error e) {
        if (e != QMediaPlayer::NoError)
            fail();
    });
    connect(player_, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus s) {
        if (s == QMediaPlayer::InvalidMedia)
            fail();
    });
    return true;
}

void QtMusicPlayer::setUrl(const QString& nativePath)
{
    failed_ = false;
    hasSource_ = false;
    lastPosition_ = -1;
    if (!QFileInfo(nativePath).isFile() || !ensurePlayer()) {
        failed_ = true;
        return;
    }
    player_->setSource(QUrl::fromLocalFile(nativePath));
    hasSource_ = true;
}

void QtMusicPlayer::play()
{
    if (failed_ || !hasSource_)
        return;
    player_->play();
    sinceProgress_.start();
    lastPosition_ = -1;
}

void QtMusicPlayer::stop()
{
    if (player_)
        player_->stop();
}

bool QtMusicPlayer::status(QString* text)
{
    text->clear();
    if (failed_)
        return false;
    if (!player_ || !hasSource_) {
        *text = QStringLiteral("Ready");
        return true;
    }
    if (player_->mediaStatus() == QMediaPlayer::EndOfMedia
        || player_->playbackState() == QMediaPlayer::StoppedState) {
        *text = QStringLiteral("Stopped");
        return true;
    }
    if (player_->playbackState() == QMediaPlayer::PausedState) {
        *text = QStringLiteral("Paused");
        return true;
    }
    // Playing: a position that stands still for too long is a player that hangs.
    const qint64 pos = player_->position();
    if (pos != lastPosition_) {
        lastPosition_ = pos;
        sinceProgress_.restart();
    } else if (sinceProgress_.elapsed() > stallLimitMs_) {
        fail();
        return false;
    }
    *text = QStringLiteral("Playing");
    return true;
}
