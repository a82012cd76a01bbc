#pragma once
#include <QColor>
#include <QList>
#include <QString>

// Writes a small animated GIF (Qt reads GIF but cannot write it): one flat colour
// per frame, `delayMs` per frame, played once. False when the file cannot be written.
bool writeAnimatedGif(const QString& path, int width, int height, const QList<QColor>& frames, int delayMs = 100);
