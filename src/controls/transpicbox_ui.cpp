#include "controls/transpicbox_ui.h"

#include "controls/propertybag.h"

#include <QBitmap>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace {
int16_t vbButtons(Qt::MouseButtons b)
{
    return int16_t(((b & Qt::LeftButton) ? 1 : 0) | ((b & Qt::RightButton) ? 2 : 0) | ((b & Qt::MiddleButton) ? 4 : 0));
}
int16_t vbShift(Qt::KeyboardModifiers m)
{
    return int16_t(((m & Qt::ShiftModifier) ? 1 : 0) | ((m & Qt::ControlModifier) ? 2 : 0) | ((m & Qt::AltModifier) ? 4 : 0));
}
}

TransPicBox::TransPicBox(QWidget* parent, const PropertyBag* saved) : QWidget(parent)
{
    picture1_ = new QLabel(this);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setVisible(false);
    picture1_->resize(0, 0);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    // Its own moves never count as moves over the window behind it.
    setAttribute(Qt::WA_NoMousePropagation);
    if (saved)
        ReadProperties(*saved);
    else
        InitProperties();
    updateShape();
}

QColor TransPicBox::toQColor(uint32_t bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

uint32_t TransPicBox::fromQColor(const QColor& c)
{
    return uint32_t(c.red()) | (uint32_t(c.green()) << 8) | (uint32_t(c.blue()) << 16);
}

void TransPicBox::setAppearance(int16_t v)
{
    appearance_ = v;
    update();
    emit PropertyChanged(QStringLiteral("Appearance"));
}

void TransPicBox::setBackStyle(int16_t v)
{
    backStyle_ = v;
    updateShape();
    emit PropertyChanged(QStringLiteral("BackStyle"));
}

void TransPicBox::setBorderStyle(int16_t v)
{
    borderStyle_ = v;
    updateShape();
    emit PropertyChanged(QStringLiteral("BorderStyle"));
}

void TransPicBox::setMaskColor(uint32_t v)
{
    maskColor_ = v & 0x00FFFFFF;
    updateShape();
    emit PropertyChanged(QStringLiteral("MaskColor"));
}

void TransPicBox::setPicture(const QPixmap& p)
{
    picture_ = p;
    // Picture1 always holds the same picture and sizes itself to it.
    picture1_->setPixmap(p);
    picture1_->resize(p.isNull() ? QSize(0, 0) : p.deviceIndependentSize().toSize());
    if (autoSize_)
        fitToPicture();
    updateShape();
    emit PropertyChanged(QStringLiteral("Picture"));
}

void TransPicBox::setAutoSize(bool v)
{
    autoSize_ = v;
    emit PropertyChanged(QStringLiteral("AutoSize"));
    if (v)
        fitToPicture();
}

QSize TransPicBox::pictureSize() const
{
    return picture1_->size();
}

void TransPicBox::fitToPicture()
{
    resize(pictureSize());
}

void TransPicBox::InitProperties()
{
    autoSize_ = true;
}

void TransPicBox::ReadProperties(const PropertyBag& bag)
{
    appearance_ = int16_t(bag.ReadProperty(QStringLiteral("Appearance"), 1).toInt());
    backStyle_ = int16_t(bag.ReadProperty(QStringLiteral("BackStyle"), 0).toInt());
    borderStyle_ = int16_t(bag.ReadProperty(QStringLiteral("BorderStyle"), 0).toInt());
    maskColor_ = bag.ReadProperty(QStringLiteral("MaskColor"), kDefaultMaskColor).toUInt() & 0x00FFFFFF;
    setPicture(bag.ReadProperty(QStringLiteral("Picture")).value<QPixmap>());
    autoSize_ = bag.ReadProperty(QStringLiteral("AutoSize"), true).toBool();
}

void TransPicBox::WriteProperties(PropertyBag& bag) const
{
    bag.WriteProperty(QStringLiteral("Appearance"), int(appearance_), 1);
    bag.WriteProperty(QStringLiteral("BackStyle"), int(backStyle_), 0);
    bag.WriteProperty(QStringLiteral("BorderStyle"), int(borderStyle_), 0);
    bag.WriteProperty(QStringLiteral("MaskColor"), uint(maskColor_), uint(kDefaultMaskColor));
    bag.WriteProperty(QStringLiteral("Picture"), picture_.isNull() ? QVariant() : QVariant::fromValue(picture_));
    bag.WriteProperty(QStringLiteral("AutoSize"), autoSize_, true);
}

void TransPicBox::updateShape()
{
    QRegion region;
    if (backStyle_ == 1) {
        region = QRegion(rect());
    } else if (!picture_.isNull()) {
        const QBitmap bits = picture_.createMaskFromColor(toQColor(maskColor_), Qt::MaskInColor);
        region = QRegion(bits);
        const qreal dpr = picture_.devicePixelRatio();
        if (dpr != 1.0)
            region = QTransform::fromScale(1 / dpr, 1 / dpr).map(region);
        region &= QRegion(rect());
    }
    if (borderStyle_ == 1)
        region |= QRegion(rect()).subtracted(QRegion(rect().adjusted(appearance_ ? 2 : 1, appearance_ ? 2 : 1,
                                                                      appearance_ ? -2 : -1, appearance_ ? -2 : -1)));
    opaque_ = region;
    // An empty mask would mean "no mask" to Qt, so a control showing nothing
    // lets the mouse through instead.
    setAttribute(Qt::WA_TransparentForMouseEvents, region.isEmpty());
    if (region.isEmpty())
        clearMask();
    else if (region == QRegion(rect()))
        clearMask();
    else
        setMask(region);
    update();
}

bool TransPicBox::isOpaqueAt(const QPoint& p) const
{
    return opaque_.contains(p);
}

void TransPicBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setClipRegion(opaque_);
    if (backStyle_ == 1)
        p.fillRect(rect(), palette().window());
    if (!picture_.isNull())
        p.drawPixmap(0, 0, picture_);
    if (borderStyle_ == 1) {
        if (appearance_) {
            p.setPen(palette().dark().color());
            p.drawLine(0, 0, width() - 1, 0);
            p.drawLine(0, 0, 0, height() - 1);
            p.setPen(palette().light().color());
            p.drawLine(width() - 1, 0, width() - 1, height() - 1);
            p.drawLine(0, height() - 1, width() - 1, height() - 1);
            p.setPen(palette().shadow().color());
            p.drawRect(1, 1, width() - 3, height() - 3);
        } else {
            p.setPen(Qt::black);
            p.drawRect(0, 0, width() - 1, height() - 1);
        }
    }
}

void TransPicBox::resizeEvent(QResizeEvent*)
{
    if (autoSize_ && size() != pictureSize()) {
        fitToPicture();
        return;
    }
    updateShape();
}

void TransPicBox::mouseMoveEvent(QMouseEvent* e)
{
    if (!isOpaqueAt(e->position().toPoint())) {
        e->ignore();
        return;
    }
    emit MouseMove(vbButtons(e->buttons()), vbShift(e->modifiers()), float(e->position().x()),
                   float(e->position().y()));
}

void TransPicBox::mousePressEvent(QMouseEvent* e)
{
    pressed_ = e->button() == Qt::LeftButton && isOpaqueAt(e->position().toPoint());
    if (!pressed_)
        e->ignore();
}

void TransPicBox::mouseReleaseEvent(QMouseEvent* e)
{
    const bool click = pressed_ && e->button() == Qt::LeftButton && isOpaqueAt(e->position().toPoint());
    pressed_ = false;
    if (click)
        emit Click();
}

void TransPicBox::keyPressEvent(QKeyEvent* e)
{
    e->ignore();
}
