#pragma once
#include <QLabel>

class QMovie;

// Animation control: plays an animated image (GIF) in a label. Open with
// AutoPlay set starts it at once; a file that cannot be read shows nothing.
class Animation : public QLabel {
    Q_OBJECT
public:
    explicit Animation(QWidget* parent = nullptr);

    bool AutoPlay() const { return autoPlay_; }
    void setAutoPlay(bool on) { autoPlay_ = on; }
    // False when the file cannot be played.
    bool Open(const QString& nativePath);
    void Play();
    void Stop();
    bool isPlaying() const;
    QString fileName() const;

private:
    QMovie* movie_ = nullptr;
    bool autoPlay_ = false;
};
