#pragma once
#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

// Same-sized page frames stacked in the order they were added (bottom first).
// The highest visible frame is the current page; frames it covers keep their
// state but take no input or focus.
class PageStack : public QObject {
    Q_OBJECT
public:
    explicit PageStack(QObject* parent = nullptr) : QObject(parent) {}

    // Adds a frame on top of the ones added before; it keeps its visibility.
    void add(QWidget* frame);
    // Makes a frame visible on top; Back is simply hide().
    void show(QWidget* frame);
    void hide(QWidget* frame);
    // The highest visible frame, or null.
    QWidget* current() const;
    const QList<QPointer<QWidget>>& frames() const { return frames_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void update();
    QList<QPointer<QWidget>> frames_;
};
