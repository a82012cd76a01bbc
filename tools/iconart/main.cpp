// Saves the program's window icon as PNG files for the desktop's menu.
//   korvane_iconart SIZE OUT.png [SIZE OUT.png ...]
#include "controls/artwork_ui.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    // A build machine may have no display; the drawing needs none.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3 || (argc - 1) % 2 != 0) {
        std::fprintf(stderr, "usage: korvane_iconart SIZE OUT.png [SIZE OUT.png ...]\n");
        return 2;
    }
    for (int i = 1; i + 1 < argc; i += 2) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        const QString out = QString::fromLocal8Bit(argv[i + 1]);
        if (!ok || size < 16 || size > 1024) {
            std::fprintf(stderr, "korvane_iconart: bad size %s\n", argv[i]);
            return 2;
        }
        QDir().mkpath(QFileInfo(out).absolutePath());
        const QPixmap pm = artWindowIconPixmap(size);
        if (pm.width() != size || !pm.save(out, "PNG")) {
            std::fprintf(stderr, "korvane_iconart: cannot write %s\n", qPrintable(out));
            return 1;
        }
    }
    return 0;
}
