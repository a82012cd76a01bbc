#include "controls/picturebox_ui.h"

#include <QMouseEvent>

PictureBox::PictureBox(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setMouseTracking(true);
    setAttribute(Qt::WA_NoMousePropagation);
}

void PictureBox::mouseMoveEvent(QMouseEvent* e)
{
    e->accept();
    emit MouseMove();
}

void PictureBox::mousePressEvent(QMouseEvent* e)
{
    pressed_ = e->button() == Qt::LeftButton;
    e->accept();
}

void PictureBox::mouseReleaseEvent(QMouseEvent* e)
{
    const bool click = pressed_ && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint());
    pressed_ = false;
    e->accept();
    if (click)
        emit Click();
}
