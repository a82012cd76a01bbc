#pragma once
#include "platform/media.h"

#include <QElapsedTimer>
#include <QObject>

class QAudioOutput;
class QMediaPlayer;

// The intro music through Qt Multimedia. Anything that keeps the music from
// playing to its end (no audio device, a missing or broken file, playback that
// stalls) makes the status unreadable, so the intro never waits for ever.
class QtMusicPlayer : public QObject, public MusicPlayer {
    Q_OBJECT
public:
    explicit QtMusicPlayer(QObject* parent = nullptr);
    ~QtMusicPlayer() override;

    void setUrl(const QString& nativePath) override;
    void play() override;
    void stop() override;
    bool status(QString* text) override;

    // How long playback may stand still before it counts as broken.
    void setStallLimitMs(int ms) { stallLimitMs_ = ms; }

private:
    bool ensurePlayer();
    void fail();

    QMediaPlayer* player_ = nullptr;
    QAudioOutput* output_ = nullptr;
    bool failed_ = false;
    bool hasSource_ = false;
    QElapsedTimer sinceProgress_;
    qint64 lastPosition_ = -1;
    int stallLimitMs_ = 4000;
};
