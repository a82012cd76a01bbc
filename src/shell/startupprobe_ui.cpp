#include "shell/startupprobe_ui.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <sys/resource.h>
#include <time.h>

namespace {
long peakKiB()
{
    struct rusage ru {};
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_maxrss;
}

class FirstPaint : public QObject {
public:
    FirstPaint(QWidget* w, QString path) : QObject(w), path_(std::move(path)) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != QEvent::Paint || done_)
            return false;
        done_ = true;
        timespec ts {};
        clock_gettime(CLOCK_REALTIME, &ts);
        const long long ns = ts.tv_sec * 1000000000LL + ts.tv_nsec;
        write(QStringLiteral("first_paint_ns %1\npeak_kib_at_paint %2\n").arg(ns).arg(peakKiB()));
        const int quitMs = qEnvironmentVariableIntValue("KORVANE_STARTUP_PROBE_QUIT_MS");
        if (quitMs > 0) {
            QTimer::singleShot(quitMs, qApp, [this] {
                write(QStringLiteral("peak_kib_at_end %1\n").arg(peakKiB()));
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    void write(const QString& text)
    {
        QFile f(path_);
        if (f.open(QIODevice::Append))
            f.write(text.toUtf8());
    }
    QString path_;
    bool done_ = false;
};
}

void installStartupProbe(QWidget* window)
{
    const QString path = qEnvironmentVariable("KORVANE_STARTUP_PROBE");
    if (path.isEmpty())
        return;
    window->installEventFilter(new FirstPaint(window, path));
}
