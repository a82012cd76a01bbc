#pragma once
#include <QPointer>
#include <QString>
#include <QWidget>

class QMovie;

// Stands in for the intro's movie control: plays an animated image (GIF, WebP)
// fitted into the control on a black ground.
class MovieBox : public QWidget {
    Q_OBJECT
public:
    explicit MovieBox(QWidget* parent = nullptr);
    ~MovieBox() override;

    // Starts loading and playing the file; a missing or broken file simply never
    // reports a frame.
    void setMovie(const QString& nativePath);
    QString Movie() const { return path_; }
    // True once frame `frame` (counting from 1) has been decoded.
    bool FrameLoaded(int frame) const { return frame >= 1 && frame <= framesLoaded_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void frameArrived(int number);
    QString path_;
    QMovie* movie_ = nullptr;
    int framesLoaded_ = 0;
};
