#include "app/pagestack_ui.h"

#include <QEvent>

void PageStack::add(QWidget* frame)
{
    frames_.append(frame);
    frame->installEventFilter(this);
    frame->raise();
    update();
}

void PageStack::show(QWidget* frame)
{
    frame->setVisible(true);
    update();
}

void PageStack::hide(QWidget* frame)
{
    frame->setVisible(false);
    update();
}

QWidget* PageStack::current() const
{
    for (auto it = frames_.crbegin(); it != frames_.crend(); ++it)
        if (*it && !(*it)->isHidden())
            return *it;
    return nullptr;
}

bool PageStack::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)
        update();
    return QObject::eventFilter(watched, event);
}

void PageStack::update()
{
    QWidget* top = current();
    for (const auto& f : frames_) {
        if (!f)
            continue;
        // A covered page must not take keys or clicks: nothing may start underneath.
        f->setEnabled(f == top);
    }
}
