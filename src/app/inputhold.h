#pragma once
#include <QObject>

// While one exists, the program's windows get no mouse, keyboard, touch or close
// events: they are dropped, not queued, so a click made while some work lets events
// run (painting, timers) cannot start other work inside it.
class InputHold : public QObject {
public:
    InputHold();
    ~InputHold() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
