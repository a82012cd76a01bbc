#include "platform/qt/qtcursor.h"

#include <QCursor>
#include <QGuiApplication>

QtCursor::~QtCursor()
{
    if (overridden_ && qGuiApp)
        QGuiApplication::restoreOverrideCursor();
}

void QtCursor::setPointer(int pointer)
{
    pointer_ = pointer;
    // Keep at most one override on Qt's stack, whatever the calls' order.
    if (pointer == Hourglass) {
        if (overridden_)
            QGuiApplication::changeOverrideCursor(QCursor(Qt::WaitCursor));
        else
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        overridden_ = true;
    } else if (overridden_) {
        QGuiApplication::restoreOverrideCursor();
        overridden_ = false;
    }
}
