#pragma once
#include <QString>

// The intro music player.
class MusicPlayer {
public:
    virtual ~MusicPlayer() = default;
    virtual void setUrl(const QString& nativePath) = 0;
    virtual void play() = 0;
    virtual void stop() = 0;
    // The player's status text ("Stopped" once playback has ended or was stopped).
    // False when the status cannot be read (an error, a missing file, no audio device).
    virtual bool status(QString* text) = 0;
};
