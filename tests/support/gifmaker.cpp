#include "support/gifmaker.h"

#include <QByteArray>
#include <QFile>

namespace {
void le16(QByteArray& out, int v)
{
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

// LZW with 3-bit codes that never grow: a clear code after every two pixels keeps
// the decoder's table below 8 entries.
QByteArray imageData(int pixels, int index)
{
    QByteArray bits;
    quint32 acc = 0;
    int n = 0;
    auto put = [&](int code) {
        acc |= quint32(code) << n;
        n += 3;
        while (n >= 8) {
            bits.append(char(acc & 0xFF));
            acc >>= 8;
            n -= 8;
        }
    };
    for (int i = 0; i < pixels; ++i) {
        if (i % 2 == 0)
            put(4);
        put(index);
    }
    put(5);
    if (n > 0)
        bits.append(char(acc & 0xFF));
    QByteArray out;
    out.append(char(2));  // minimum code size
    for (int i = 0; i < bits.size(); i += 255) {
        const QByteArray chunk = bits.mid(i, 255);
        out.append(char(chunk.size()));
        out.append(chunk);
    }
    out.append(char(0));
    return out;
}
}

bool writeAnimatedGif(const QString& path, int width, int height, const QList<QColor>& frames, int delayMs)
{
    QByteArray g("GIF89a");
    le16(g, width);
    le16(g, height);
    g.append(char(0xF1));  // global table of 4 colours
    g.append(char(0));
    g.append(char(0));
    QList<QColor> table = frames.mid(0, 4);
    while (table.size() < 4)
        table.append(Qt::black);
    for (const QColor& c : table) {
        g.append(char(c.red()));
        g.append(char(c.green()));
        g.append(char(c.blue()));
    }
    for (int f = 0; f < frames.size(); ++f) {
        g.append("\x21\xF9\x04\x00", 4);
        le16(g, qMax(1, delayMs / 10));
        g.append("\x00\x00", 2);
        g.append(char(0x2C));
        le16(g, 0);
        le16(g, 0);
        le16(g, width);
        le16(g, height);
        g.append(char(0));
        g.append(imageData(width * height, f % 4));
    }
    g.append(char(0x3B));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(g) == g.size();
}
