#include "controls/artwork_ui.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

namespace {

const QColor kBlue(40, 120, 230);
const QColor kDeepBlue(14, 48, 120);
const QColor kSky(140, 200, 255);
const QColor kOrange(255, 150, 30);

QPixmap canvas(int w, int h, const QColor& fill)
{
    QPixmap pm(w, h);
    pm.fill(fill);
    return pm;
}

void smooth(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

QFont sans(qreal pixelSize, int weight = QFont::Bold, bool italic = false)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(qRound(pixelSize));
    f.setWeight(QFont::Weight(weight));
    f.setItalic(italic);
    return f;
}

// Text as a path, so it can take gradients, outlines and glows.
QPainterPath textPath(const QString& text, const QFont& font, QPointF baseline)
{
    QPainterPath path;
    path.addText(baseline, font, text);
    return path;
}

void glow(QPainter& p, const QPainterPath& path, const QColor& colour, int rings)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    for (int i = rings; i >= 1; --i) {
        QColor c = colour;
        c.setAlpha(18 + 10 * (rings - i));
        p.setPen(QPen(c, i * 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
    }
    p.restore();
}

// Chrome-like lettering: a bright top fading into a saturated bottom.
void chromeText(QPainter& p, const QPainterPath& path, const QColor& top, const QColor& bottom)
{
    const QRectF r = path.boundingRect();
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, top);
    g.setColorAt(0.48, top.darker(115));
    g.setColorAt(0.52, bottom.lighter(120));
    g.setColorAt(1.0, bottom);
    p.setPen(QPen(QColor(255, 255, 255, 90), 1.0));
    p.setBrush(g);
    p.drawPath(path);
}

// A pixmap drawn on transparency is put onto a flat mask colour with hard edges,
// so no half-blended fringe of the mask colour shows on another background.
QPixmap onMaskColour(const QImage& drawn, const QColor& mask)
{
    QImage out(drawn.size(), QImage::Format_RGB32);
    const QImage src = drawn.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < src.height(); ++y) {
        const QRgb* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        QRgb* d = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            const QRgb px = s[x];
            if (qAlpha(px) < 110) {
                d[x] = mask.rgb();
            } else {
                QRgb c = qRgb(qRed(px), qGreen(px), qBlue(px));
                if (c == mask.rgb())  // keep drawn pixels off the mask colour
                    c = qRgb(qMax(0, qRed(px) - 1), qGreen(px), qBlue(px));
                d[x] = c;
            }
        }
    }
    return QPixmap::fromImage(out);
}

QImage transparentImage(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

// A USB stick lying diagonally inside r.
void drawStick(QPainter& p, const QRectF& r)
{
    const qreal s = qMin(r.width(), r.height());
    p.save();
    p.translate(r.center());
    p.rotate(-35);
    const qreal bw = s * 0.42, bh = s * 0.70;
    // connector
    const QRectF plug(-bw * 0.33, -bh / 2 - s * 0.20, bw * 0.66, s * 0.24);
    QLinearGradient metal(plug.topLeft(), plug.topRight());
    metal.setColorAt(0, QColor(150, 155, 165));
    metal.setColorAt(0.5, QColor(235, 238, 242));
    metal.setColorAt(1, QColor(120, 125, 135));
    p.setPen(QPen(QColor(70, 72, 80), qMax<qreal>(1.0, s / 48)));
    p.setBrush(metal);
    p.drawRect(plug);
    p.setBrush(QColor(60, 62, 70));
    p.setPen(Qt::NoPen);
    const qreal hole = plug.width() * 0.22;
    p.drawRect(QRectF(plug.left() + plug.width() * 0.18, plug.top() + plug.height() * 0.3, hole, hole));
    p.drawRect(QRectF(plug.right() - plug.width() * 0.18 - hole, plug.top() + plug.height() * 0.3, hole, hole));
    // body
    const QRectF body(-bw / 2, -bh / 2, bw, bh);
    QLinearGradient g(body.topLeft(), body.topRight());
    g.setColorAt(0, kDeepBlue);
    g.setColorAt(0.35, kBlue.lighter(130));
    g.setColorAt(1, kDeepBlue.darker(130));
    p.setPen(QPen(QColor(10, 25, 60), qMax<qreal>(1.0, s / 40)));
    p.setBrush(g);
    p.drawRoundedRect(body, bw * 0.22, bw * 0.22);
    // label strip and activity light
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 236, 245));
    p.drawRoundedRect(QRectF(-bw * 0.28, -bh * 0.18, bw * 0.56, bh * 0.42), 2, 2);
    QRadialGradient led(QPointF(0, bh * 0.36), bw * 0.14);
    led.setColorAt(0, QColor(200, 255, 200));
    led.setColorAt(1, QColor(30, 170, 60));
    p.setBrush(led);
    p.drawEllipse(QPointF(0, bh * 0.36), bw * 0.11, bw * 0.11);
    p.restore();
}

void drawSpanner(QPainter& p, const QRectF& r)
{
    p.save();
    p.translate(r.center());
    p.rotate(45);
    const qreal s = qMin(r.width(), r.height());
    QLinearGradient steel(-s * 0.1, 0, s * 0.1, 0);
    steel.setColorAt(0, QColor(110, 115, 125));
    steel.setColorAt(0.5, QColor(225, 228, 235));
    steel.setColorAt(1, QColor(95, 100, 110));
    QPainterPath path;
    path.addRoundedRect(QRectF(-s * 0.07, -s * 0.36, s * 0.14, s * 0.72), s * 0.05, s * 0.05);
    path.addEllipse(QPointF(0, -s * 0.38), s * 0.16, s * 0.16);
    QPainterPath jaw;
    jaw.addRect(QRectF(-s * 0.06, -s * 0.62, s * 0.12, s * 0.2));
    path = path.subtracted(jaw);
    p.setPen(QPen(QColor(50, 52, 60), qMax<qreal>(1.0, s / 40)));
    p.setBrush(steel);
    p.drawPath(path);
    p.restore();
}

void drawScrewdriver(QPainter& p, const QRectF& r)
{
    p.save();
    p.translate(r.center());
    p.rotate(-45);
    const qreal s = qMin(r.width(), r.height());
    p.setPen(QPen(QColor(50, 52, 60), qMax<qreal>(1.0, s / 40)));
    p.setBrush(QColor(200, 204, 212));
    p.drawRect(QRectF(-s * 0.03, -s * 0.45, s * 0.06, s * 0.45));
    QLinearGradient handle(-s * 0.1, 0, s * 0.1, 0);
    handle.setColorAt(0, QColor(170, 30, 20));
    handle.setColorAt(0.45, kOrange);
    handle.setColorAt(1, QColor(150, 25, 15));
    p.setBrush(handle);
    p.drawRoundedRect(QRectF(-s * 0.09, 0, s * 0.18, s * 0.42), s * 0.06, s * 0.06);
    p.restore();
}

QPixmap wordPicture(const QString& words, int w, int h)
{
    QPixmap pm = canvas(w, h, Qt::black);
    QPainter p(&pm);
    smooth(p);
    QFont f = sans(46, QFont::Black, true);
    // Shrink the lettering until it fits the designed width with a margin.
    QFontMetricsF fm(f);
    while (fm.horizontalAdvance(words) > w - 16 && f.pixelSize() > 10) {
        f.setPixelSize(f.pixelSize() - 1);
        fm = QFontMetricsF(f);
    }
    const qreal baseline = h / 2.0 + fm.capHeight() / 2.0 - 4;
    const QPainterPath path = textPath(words, f, QPointF(8, baseline));
    glow(p, path, kBlue, 4);
    chromeText(p, path, QColor(235, 245, 255), kBlue);
    // an underline swoosh that fades out to the right
    QLinearGradient line(8, 0, w - 8, 0);
    line.setColorAt(0, QColor(255, 170, 40, 230));
    line.setColorAt(1, QColor(255, 170, 40, 0));
    p.setPen(QPen(QBrush(line), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, baseline + 12), QPointF(w - 10, baseline + 12));
    return pm;
}

QPixmap arrow(int size, bool down)
{
    QPixmap pm = canvas(size, size, Qt::black);
    QPainter p(&pm);
    smooth(p);
    const qreal s = size;
    QPainterPath path;
    path.moveTo(s * 0.34, s * 0.06);
    path.lineTo(s * 0.66, s * 0.06);
    path.lineTo(s * 0.66, s * 0.50);
    path.lineTo(s * 0.90, s * 0.50);
    path.lineTo(s * 0.50, s * 0.94);
    path.lineTo(s * 0.10, s * 0.50);
    path.lineTo(s * 0.34, s * 0.50);
    path.closeSubpath();
    if (!down) {
        QTransform flip;
        flip.translate(0, s);
        flip.scale(1, -1);
        path = flip.map(path);
    }
    QLinearGradient g(0, 0, s, 0);
    const QColor a = down ? QColor(60, 220, 90) : QColor(255, 180, 40);
    g.setColorAt(0, a.darker(170));
    g.setColorAt(0.4, a.lighter(140));
    g.setColorAt(1, a.darker(150));
    glow(p, path, a, 2);
    p.setPen(QPen(a.darker(220), qMax(1.0, s / 30)));
    p.setBrush(g);
    p.drawPath(path);
    return pm;
}

QPixmap driveIconOnWhite(bool tools)
{
    QImage img = transparentImage(48, 48);
    {
        QPainter p(&img);
        smooth(p);
        drawStick(p, QRectF(4, 2, 40, 44));
        if (tools) {
            drawSpanner(p, QRectF(16, 16, 32, 32));
            drawScrewdriver(p, QRectF(18, 18, 30, 30));
        }
    }
    return onMaskColour(img, Qt::white);
}

QPixmap transparentDrive(int size)
{
    QImage img = transparentImage(size, size);
    {
        QPainter p(&img);
        smooth(p);
        drawStick(p, QRectF(0, 0, size, size));
    }
    return QPixmap::fromImage(img);
}

void drawFolder(QPainter& p, const QRectF& r, bool open)
{
    const qreal s = r.width();
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(255, 214, 102));
    g.setColorAt(1, QColor(226, 160, 30));
    p.setPen(QPen(QColor(150, 100, 10), qMax<qreal>(1.0, s / 16)));
    p.setBrush(QColor(236, 180, 60));
    QPainterPath back;
    back.moveTo(r.left(), r.top() + s * 0.18);
    back.lineTo(r.left() + s * 0.38, r.top() + s * 0.18);
    back.lineTo(r.left() + s * 0.48, r.top() + s * 0.30);
    back.lineTo(r.right(), r.top() + s * 0.30);
    back.lineTo(r.right(), r.bottom() - s * 0.08);
    back.lineTo(r.left(), r.bottom() - s * 0.08);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(g);
    if (open) {
        QPainterPath front;
        front.moveTo(r.left() + s * 0.16, r.top() + s * 0.44);
        front.lineTo(r.right(), r.top() + s * 0.44);
        front.lineTo(r.right() - s * 0.14, r.bottom() - s * 0.08);
        front.lineTo(r.left(), r.bottom() - s * 0.08);
        front.closeSubpath();
        p.drawPath(front);
    } else {
        p.drawRect(QRectF(r.left(), r.top() + s * 0.38, s, s * 0.54));
    }
}

void drawDocument(QPainter& p, const QRectF& r, const QColor& accent)
{
    const qreal s = r.height();
    const qreal fold = s * 0.28;
    QPainterPath page;
    page.moveTo(r.topLeft());
    page.lineTo(r.right() - fold, r.top());
    page.lineTo(r.right(), r.top() + fold);
    page.lineTo(r.bottomRight());
    page.lineTo(r.bottomLeft());
    page.closeSubpath();
    p.setPen(QPen(QColor(90, 95, 110), qMax<qreal>(1.0, s / 18)));
    p.setBrush(QColor(250, 251, 253));
    p.drawPath(page);
    p.setBrush(QColor(210, 215, 225));
    QPainterPath ear;
    ear.moveTo(r.right() - fold, r.top());
    ear.lineTo(r.right() - fold, r.top() + fold);
    ear.lineTo(r.right(), r.top() + fold);
    p.drawPath(ear);
    if (s >= 14) {
        p.setPen(QPen(accent, qMax<qreal>(1.0, s / 16)));
        for (int i = 0; i < 3; ++i) {
            const qreal y = r.top() + s * (0.45 + 0.15 * i);
            p.drawLine(QPointF(r.left() + s * 0.12, y), QPointF(r.right() - s * 0.12, y));
        }
    } else {
        p.setPen(QPen(accent, 1));
        p.drawLine(QPointF(r.left() + 2, r.top() + s * 0.6), QPointF(r.right() - 2, r.top() + s * 0.6));
    }
}

// A small round badge (plus, minus, cross) in a corner of an icon.
void badge(QPainter& p, const QRectF& r, const QColor& colour, int kind)
{
    p.setPen(QPen(colour.darker(160), 1));
    p.setBrush(colour);
    p.drawEllipse(r);
    p.setPen(QPen(Qt::white, qMax<qreal>(1.5, r.width() / 5), Qt::SolidLine, Qt::RoundCap));
    const QPointF c = r.center();
    const qreal a = r.width() * 0.28;
    if (kind == 0 || kind == 1)
        p.drawLine(QPointF(c.x() - a, c.y()), QPointF(c.x() + a, c.y()));
    if (kind == 0)
        p.drawLine(QPointF(c.x(), c.y() - a), QPointF(c.x(), c.y() + a));
    if (kind == 2) {
        p.drawLine(QPointF(c.x() - a, c.y() - a), QPointF(c.x() + a, c.y() + a));
        p.drawLine(QPointF(c.x() + a, c.y() - a), QPointF(c.x() - a, c.y() + a));
    }
}

template <typename Draw>
QPixmap iconPixmap(int size, Draw draw)
{
    QImage img = transparentImage(size, size);
    {
        QPainter p(&img);
        smooth(p);
        draw(p, qreal(size));
    }
    return QPixmap::fromImage(img);
}

} // namespace

QPixmap artBanner()
{
    const int w = 797, h = 151;
    QPixmap pm = canvas(w, h, Qt::black);
    QPainter p(&pm);
    smooth(p);
    // A faint light behind the name, fading to black well inside the picture's
    // edges: the logo above and the menu below overlap the banner's border.
    {
        p.save();
        const QPointF centre(w * 0.42, h * 0.58);
        const qreal rx = w * 0.40, ry = h * 0.36;
        p.translate(centre);
        p.scale(1.0, ry / rx);
        QRadialGradient halo(QPointF(0, 0), rx);
        halo.setColorAt(0, QColor(30, 80, 170, 150));
        halo.setColorAt(0.7, QColor(20, 50, 110, 60));
        halo.setColorAt(1, QColor(0, 0, 0, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(QPointF(0, 0), rx, rx);
        p.restore();
    }
    // sound waves at the left, for the music players the program serves
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 4; ++i) {
        QColor c = kSky;
        c.setAlpha(200 - 40 * i);
        p.setPen(QPen(c, 3, Qt::SolidLine, Qt::RoundCap));
        const qreal rad = 16 + 14 * i;
        p.drawArc(QRectF(40 - rad, h / 2.0 - rad, 2 * rad, 2 * rad), -50 * 16, 100 * 16);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kOrange);
    p.drawEllipse(QPointF(36, h / 2.0), 7, 7);

    const QFont nameFont = sans(96, QFont::Black, true);
    const QPainterPath name = textPath(QStringLiteral("Korvane"), nameFont, QPointF(110, 112));
    glow(p, name, kBlue, 5);
    chromeText(p, name, QColor(245, 250, 255), kBlue);
    const qreal after = name.boundingRect().right() + 22;
    const QPainterPath version = textPath(QStringLiteral("2.1"), sans(96, QFont::Black, true), QPointF(after, 112));
    glow(p, version, kOrange, 4);
    chromeText(p, version, QColor(255, 240, 200), kOrange.darker(115));
    // a rule below, bright at the centre
    QLinearGradient rule(0, 0, w, 0);
    rule.setColorAt(0, QColor(40, 120, 230, 0));
    rule.setColorAt(0.5, QColor(140, 200, 255, 255));
    rule.setColorAt(1, QColor(40, 120, 230, 0));
    p.setPen(QPen(QBrush(rule), 2));
    p.drawLine(QPointF(20, 134), QPointF(w - 20, 134));
    return pm;
}

QPixmap artMakerLogo()
{
    const int w = 537, h = 56;
    QPixmap pm = canvas(w, h, Qt::black);
    QPainter p(&pm);
    smooth(p);
    // a hexagon mark
    const QPointF c(34, h / 2.0);
    QPolygonF hex;
    for (int i = 0; i < 6; ++i)
        hex << c + QPointF(22 * qCos(qDegreesToRadians(60.0 * i + 30)), 22 * qSin(qDegreesToRadians(60.0 * i + 30)));
    QLinearGradient g(c.x(), c.y() - 22, c.x(), c.y() + 22);
    g.setColorAt(0, kOrange.lighter(130));
    g.setColorAt(1, QColor(200, 70, 10));
    p.setPen(QPen(QColor(255, 220, 160), 1.5));
    p.setBrush(g);
    p.drawPolygon(hex);
    p.setPen(Qt::black);
    p.setFont(sans(26, QFont::Black));
    p.drawText(QRectF(c.x() - 22, c.y() - 22, 44, 44), Qt::AlignCenter, QStringLiteral("H"));

    const QPainterPath word = textPath(QStringLiteral("HALVEXA"), sans(38, QFont::Black), QPointF(68, 43));
    glow(p, word, kOrange, 2);
    chromeText(p, word, QColor(255, 245, 225), kOrange.darker(110));
    p.setPen(QColor(170, 180, 200));
    p.setFont(sans(15, QFont::Normal, true));
    p.drawText(QPointF(word.boundingRect().right() + 18, 42), QStringLiteral("software for your music and files"));
    return pm;
}

QPixmap artWordDownload() { return wordPicture(QStringLiteral("Download Wizard"), 442, 101); }
QPixmap artWordUpload() { return wordPicture(QStringLiteral("Upload Wizard"), 374, 101); }
QPixmap artWordConfigure() { return wordPicture(QStringLiteral("Configure Device"), 416, 101); }
QPixmap artDownArrow() { return arrow(48, true); }
QPixmap artUpArrow() { return arrow(35, false); }
QPixmap artDrive() { return driveIconOnWhite(false); }
QPixmap artDriveTools() { return driveIconOnWhite(true); }

QPixmap artHelpButton()
{
    // Transparent around the button: it sits on the black main window and on the
    // wizards' light windows alike.
    const int w = 33, h = 37;
    QPixmap pm(w, h);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    smooth(p);
    const QRectF r(2, 4, 29, 29);
    QRadialGradient g(r.center() - QPointF(5, 6), 22);
    g.setColorAt(0, kSky);
    g.setColorAt(0.6, kBlue);
    g.setColorAt(1, kDeepBlue);
    p.setPen(QPen(QColor(190, 220, 255), 1.2));
    p.setBrush(g);
    p.drawEllipse(r);
    p.setPen(Qt::white);
    p.setFont(sans(22, QFont::Black));
    p.drawText(r.adjusted(0, 1, 0, 0), Qt::AlignCenter, QStringLiteral("?"));
    return pm;
}

QPixmap artWindowIconPixmap(int size)
{
    return iconPixmap(size, [](QPainter& p, qreal s) {
        QRectF r(s * 0.04, s * 0.04, s * 0.92, s * 0.92);
        QLinearGradient g(r.topLeft(), r.bottomRight());
        g.setColorAt(0, kBlue.lighter(120));
        g.setColorAt(1, kDeepBlue);
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(r, s * 0.2, s * 0.2);
        QPainterPath k;
        k.addText(0, 0, sans(s * 0.72, QFont::Black), QStringLiteral("K"));
        const QRectF b = k.boundingRect();
        k.translate(r.center() - b.center());
        p.setBrush(Qt::white);
        p.drawPath(k);
        p.setBrush(kOrange);
        p.drawEllipse(QPointF(s * 0.8, s * 0.8), s * 0.11, s * 0.11);
    });
}

QIcon artWindowIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64})
        icon.addPixmap(artWindowIconPixmap(size));
    return icon;
}

QPixmap artDriveSmall(int size) { return transparentDrive(size); }
QPixmap artDriveLarge(int size) { return transparentDrive(size); }

QPixmap artGetDriveIllustration(int width, int height)
{
    QPixmap pm(width, height);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    smooth(p);
    const qreal w = width, h = height;
    // a backdrop panel
    QLinearGradient bg(0, 0, 0, h);
    bg.setColorAt(0, QColor(24, 70, 150));
    bg.setColorAt(1, QColor(6, 20, 60));
    p.setPen(Qt::NoPen);
    p.setBrush(bg);
    p.drawRoundedRect(QRectF(0, 0, w, h), 10, 10);
    // computer monitor
    const QRectF screen(w * 0.12, h * 0.10, w * 0.76, h * 0.38);
    p.setBrush(QColor(40, 44, 52));
    p.setPen(QPen(QColor(180, 190, 205), 2));
    p.drawRoundedRect(screen, 6, 6);
    QLinearGradient glass(screen.topLeft(), screen.bottomRight());
    glass.setColorAt(0, kSky);
    glass.setColorAt(1, kBlue);
    p.setPen(Qt::NoPen);
    p.setBrush(glass);
    p.drawRect(screen.adjusted(6, 6, -6, -6));
    p.setBrush(QColor(180, 190, 205));
    p.drawRect(QRectF(w * 0.44, screen.bottom(), w * 0.12, h * 0.05));
    p.drawRoundedRect(QRectF(w * 0.32, screen.bottom() + h * 0.05, w * 0.36, h * 0.03), 3, 3);
    // a music note on the screen
    p.setBrush(Qt::white);
    const QPointF note(screen.center().x() - w * 0.06, screen.center().y() + h * 0.06);
    p.drawEllipse(note, w * 0.05, h * 0.03);
    p.drawEllipse(note + QPointF(w * 0.16, -h * 0.03), w * 0.05, h * 0.03);
    p.setPen(QPen(Qt::white, qMax(2.0, w / 60)));
    p.drawLine(note + QPointF(w * 0.045, 0), note + QPointF(w * 0.045, -h * 0.14));
    p.drawLine(note + QPointF(w * 0.205, -h * 0.03), note + QPointF(w * 0.205, -h * 0.17));
    p.drawLine(note + QPointF(w * 0.045, -h * 0.14), note + QPointF(w * 0.205, -h * 0.17));
    // a cable down to the stick
    QPainterPath cable;
    cable.moveTo(w * 0.5, screen.bottom() + h * 0.08);
    cable.cubicTo(w * 0.5, h * 0.72, w * 0.2, h * 0.62, w * 0.36, h * 0.80);
    p.setPen(QPen(QColor(200, 205, 215), 3, Qt::DashLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(cable);
    drawStick(p, QRectF(w * 0.36, h * 0.58, w * 0.5, h * 0.38));
    return pm;
}

QPixmap artCopyPicture(int width, int height)
{
    QPixmap pm(width, height);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    smooth(p);
    const qreal w = width, h = height;
    drawFolder(p, QRectF(w * 0.02, h * 0.50, w * 0.36, h * 0.36), true);
    drawFolder(p, QRectF(w * 0.62, h * 0.50, w * 0.36, h * 0.36), false);
    // documents along an arc from one folder to the other
    for (int i = 0; i < 3; ++i) {
        const qreal t = (i + 1) / 4.0;
        const qreal x = w * (0.16 + 0.62 * t);
        const qreal y = h * (0.45 - 0.32 * qSin(t * M_PI));
        drawDocument(p, QRectF(x - w * 0.08, y - h * 0.10, w * 0.16, h * 0.20), kBlue);
    }
    return pm;
}

QPixmap artReviewDrive(int size) { return transparentDrive(size); }

QPixmap artReviewFiles(int size)
{
    return iconPixmap(size, [](QPainter& p, qreal s) {
        drawDocument(p, QRectF(s * 0.30, s * 0.04, s * 0.56, s * 0.66), kOrange);
        drawDocument(p, QRectF(s * 0.14, s * 0.28, s * 0.56, s * 0.66), kBlue);
    });
}

QPixmap artFolderIcon(int size)
{
    return iconPixmap(size, [](QPainter& p, qreal s) { drawFolder(p, QRectF(0.5, 0.5, s - 1, s - 1), false); });
}

QPixmap artFolderOpenIcon(int size)
{
    return iconPixmap(size, [](QPainter& p, qreal s) { drawFolder(p, QRectF(0.5, 0.5, s - 1, s - 1), true); });
}

QPixmap artFileIcon(int size)
{
    return iconPixmap(size, [](QPainter& p, qreal s) {
        drawDocument(p, QRectF(s * 0.16, s * 0.04, s * 0.68, s * 0.92), kBlue);
    });
}

QPixmap artAddFileIcon(int size)
{
    return iconPixmap(size, [](QPainter& p, qreal s) {
        drawDocument(p, QRectF(s * 0.06, s * 0.02, s * 0.62, s * 0.86), kBlue);
        badge(p, QRectF(s * 0.46, s * 0.46, s * 0.52, s * 0.52), QColor(40, 170, 60), 0);
    });
}

QPixmap artAddFolderIcon(int size)
{
    return iconPixmap(size, [](QPainter& p, qreal s) {
        drawFolder(p, QRectF(0.5, 0.5, s * 0.86, s * 0.86), false);
        badge(p, QRectF(s * 0.46, s * 0.46, s * 0.52, s * 0.52), QColor(40, 170, 60), 0);
    });
}

QPixmap artRemoveIcon(int size)
{
    return iconPixmap(size, [](QPainter& p, qreal s) {
        drawDocument(p, QRectF(s * 0.06, s * 0.02, s * 0.62, s * 0.86), kBlue);
        badge(p, QRectF(s * 0.46, s * 0.46, s * 0.52, s * 0.52), QColor(210, 50, 40), 1);
    });
}

QPixmap artClearIcon(int size)
{
    return iconPixmap(size, [](QPainter& p, qreal s) {
        drawDocument(p, QRectF(s * 0.22, s * 0.0, s * 0.52, s * 0.70), kOrange);
        drawDocument(p, QRectF(s * 0.04, s * 0.14, s * 0.56, s * 0.74), kBlue);
        badge(p, QRectF(s * 0.46, s * 0.46, s * 0.52, s * 0.52), QColor(210, 50, 40), 2);
    });
}
