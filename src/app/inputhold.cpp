#include "app/inputhold.h"

#include <QCoreApplication>
#include <QEvent>

InputHold::InputHold()
{
    QCoreApplication::instance()->installEventFilter(this);
}

InputHold::~InputHold()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool InputHold::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::ContextMenu:
    case QEvent::Close:
        event->ignore();
        return true;
    default:
        return false;
    }
}
