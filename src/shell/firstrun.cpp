#include "shell/firstrun.h"

#include <QFile>
#include <QSaveFile>

bool readRunFlag(const QString& path, int16_t* value)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    // The field is short; a huge file must not be read whole.
    QByteArray line = f.readLine(256);
    // Cut short, the field could read as a number it is not ("000...05" as 0).
    const bool cut = !line.endsWith('\n') && !f.atEnd();
    f.close();
    int end = line.size();
    for (int i = 0; i < line.size(); ++i) {
        if (line[i] == ',' || line[i] == '\r' || line[i] == '\n') {
            end = i;
            break;
        }
    }
    if (cut && end == line.size())
        return false;
    const QByteArray field = line.left(end).trimmed();
    if (field.isEmpty())
        return false;
    for (int i = 0; i < field.size(); ++i) {
        const char c = field[i];
        const bool sign = i == 0 && (c == '+' || c == '-') && field.size() > 1;
        if (!sign && (c < '0' || c > '9'))
            return false;
    }
    bool ok = false;
    const int v = field.toInt(&ok);
    if (!ok || v < INT16_MIN || v > INT16_MAX)
        return false;
    *value = int16_t(v);
    return true;
}

bool markRunFlagDone(const QString& path)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    if (f.write("1\r\n", 3) != 3) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

bool screenAdviceDue(QSize screenPixels)
{
    return screenPixels.width() != 800 || screenPixels.height() != 600;
}
