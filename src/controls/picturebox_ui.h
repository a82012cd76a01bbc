#pragma once
#include <QLabel>

// A plain picture control: shows its picture at the top left on its own
// background, and keeps the mouse for itself (a move over it is not a move over
// the window behind).
class PictureBox : public QLabel {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);
    void setPicture(const QPixmap& p) { setPixmap(p); }
    QPixmap Picture() const { return pixmap(); }

signals:
    void MouseMove();
    void Click();

protected:
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    bool pressed_ = false;
};
