#pragma once
#include <QPixmap>
#include <QWidget>
#include <cstdint>

class PropertyBag;
class QLabel;

// A picture whose pixels of the mask colour are see-through: they are not drawn,
// and the mouse there acts on whatever lies behind. Everywhere else the control
// shows the picture and raises MouseMove and Click. By default it takes the size
// of its picture.
class TransPicBox : public QWidget {
    Q_OBJECT
public:
    static constexpr uint32_t kDefaultMaskColor = 0x00FFFFFF;

    // Without saved state the instance is new (AutoSize true); with it, the state
    // is read as saved.
    explicit TransPicBox(QWidget* parent = nullptr, const PropertyBag* saved = nullptr);

    int16_t Appearance() const { return appearance_; }
    void setAppearance(int16_t v);
    int16_t BackStyle() const { return backStyle_; }
    void setBackStyle(int16_t v);
    int16_t BorderStyle() const { return borderStyle_; }
    void setBorderStyle(int16_t v);
    // Colours as 32-bit values 0x00BBGGRR.
    uint32_t MaskColor() const { return maskColor_; }
    void setMaskColor(uint32_t v);
    QPixmap Picture() const { return picture_; }
    void setPicture(const QPixmap& p);
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool v);

    void InitProperties();
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    // True when the point (control coordinates) shows the picture and takes the mouse.
    bool isOpaqueAt(const QPoint& p) const;

    static QColor toQColor(uint32_t bgr);
    static uint32_t fromQColor(const QColor& c);

signals:
    // button: 1 left, 2 right, 4 middle; shift: 1 Shift, 2 Ctrl, 4 Alt.
    void MouseMove(int16_t button, int16_t shift, float x, float y);
    void Click();
    void PropertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;

private:
    QSize pictureSize() const;
    void fitToPicture();
    void updateShape();

    int16_t appearance_ = 1;
    int16_t backStyle_ = 0;
    int16_t borderStyle_ = 0;
    uint32_t maskColor_ = kDefaultMaskColor;
    QPixmap picture_;
    bool autoSize_ = false;
    QLabel* picture1_ = nullptr;
    QRegion opaque_;
    bool pressed_ = false;
};
