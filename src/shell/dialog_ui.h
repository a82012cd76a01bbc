#pragma once
#include "app/links.h"

#include <QPointer>
#include <QWidget>
#include <cstdint>

class QLabel;
class QTimer;

// The please-wait window: one white line on black with dots that come and go,
// and the three one-shot openers of the wizard windows.
class Dialog : public QWidget {
    Q_OBJECT
public:
    explicit Dialog(const AppContext& context);

    void SetTex(const QString& text) { waitText = text; }
    // Unloads the window: it disappears, its timers stop, the object goes.
    void Hideforever();

    // The opener timer for a wizard: 2 Download (Form1), 3 Upload (Form3), 4 Configure (Form4).
    QTimer* opener(int number) const;

    int16_t dotPhase = 1;
    QString waitText;

signals:
    void unloaded();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void Timer1_Timer();
    template <typename Wizard>
    void open(QTimer* timer);

    AppContext ctx_;
    QLabel* label1_ = nullptr;
    QTimer* timer1_ = nullptr;
    QTimer* timer2_ = nullptr;
    QTimer* timer3_ = nullptr;
    QTimer* timer4_ = nullptr;
    bool unloaded_ = false;
};

// The please-wait window as the wizards see it: calls while it is not loaded do
// nothing; load() creates it on first use.
class WaitWindow : public WaitWindowLink {
public:
    void setContext(const AppContext& context) { ctx_ = context; }
    void SetTex(const QString& text) override;
    void Hideforever() override;

    // The loaded window, created when it is not loaded.
    Dialog* load();
    // The loaded window, or null.
    Dialog* loaded() const { return dialog_; }

private:
    AppContext ctx_;
    QPointer<Dialog> dialog_;
};
