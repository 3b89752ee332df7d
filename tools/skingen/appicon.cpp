#include "appicon.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace
{

// On a 256 x 256 canvas.
constexpr double kCentre = 128;
constexpr double kOrb = 116;
constexpr double kRing = 96;
constexpr double kRingWidth = 6;
const QPointF kPlay[] = {{104, 82}, {184, 128}, {104, 174}};
constexpr double kLightX = 0.38, kLightY = 0.32, kLightR = 0.75; // of the orb's box
const char *kLit = "#5ff0e0";
const char *kDark = "#0b3b44";
const char *kRingColour = "#e8fffb";
constexpr double kRingOpacity = 0.35;

QString svg()
{
    QString play;
    for (const QPointF &p : kPlay)
        play += QStringLiteral("%1%2 %3 ").arg(play.isEmpty() ? "M" : "L").arg(p.x()).arg(p.y());
    return QStringLiteral(
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
               "viewBox=\"0 0 256 256\">\n"
               " <defs><radialGradient id=\"light\" cx=\"%1\" cy=\"%2\" r=\"%3\">"
               "<stop offset=\"0\" stop-color=\"%4\"/><stop offset=\"1\" stop-color=\"%5\"/>"
               "</radialGradient></defs>\n"
               " <circle cx=\"%6\" cy=\"%6\" r=\"%7\" fill=\"url(#light)\"/>\n"
               " <circle cx=\"%6\" cy=\"%6\" r=\"%8\" fill=\"none\" stroke=\"%9\" "
               "stroke-opacity=\"%10\" stroke-width=\"%11\"/>\n"
               " <path d=\"%12Z\" fill=\"#ffffff\"/>\n"
               "</svg>\n")
        .arg(kLightX)
        .arg(kLightY)
        .arg(kLightR)
        .arg(QLatin1String(kLit), QLatin1String(kDark))
        .arg(kCentre)
        .arg(kOrb)
        .arg(kRing)
        .arg(QLatin1String(kRingColour))
        .arg(kRingOpacity)
        .arg(kRingWidth)
        .arg(play);
}

QImage draw(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    const double box = 2 * kOrb;
    const double left = kCentre - kOrb;
    QRadialGradient light(QPointF(left + kLightX * box, left + kLightY * box), kLightR * box);
    light.setColorAt(0, QColor(QLatin1String(kLit)));
    light.setColorAt(1, QColor(QLatin1String(kDark)));
    p.setPen(Qt::NoPen);
    p.setBrush(light);
    p.drawEllipse(QPointF(kCentre, kCentre), kOrb, kOrb);
    QColor ring{QLatin1String(kRingColour)};
    ring.setAlphaF(kRingOpacity);
    p.setPen(QPen(ring, kRingWidth));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(kCentre, kCentre), kRing, kRing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(kPlay, 3);
    return image;
}

} // namespace

bool writeAppIcons(const QString &dir)
{
    if (!QDir().mkpath(dir))
        return false;
    QFile file(dir + QStringLiteral("/orbal.svg"));
    if (!file.open(QIODevice::WriteOnly) || file.write(svg().toUtf8()) < 0)
        return false;
    file.close();
    return draw(48).save(dir + QStringLiteral("/orbal-48.png")) &&
           draw(256).save(dir + QStringLiteral("/orbal-256.png"));
}
