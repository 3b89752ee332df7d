// Draws the cutter's pictures: "logo.jpg" (the window's banner) and "kerfa.png" (the
// about box). Usage: kerfaart OUTPUT_FOLDER. The results are kept in data/kerfa/.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>

namespace
{

const QColor kInk(0x1d, 0x2b, 0x4a);
const QColor kWave(0x2f, 0x9e, 0xd8);
const QColor kCut(0xf0, 0x6a, 0x2a);

// A tone's outline from x0 to x1 around the middle line y.
QPainterPath wave(qreal x0, qreal x1, qreal y, qreal height)
{
    QPainterPath path;
    for (qreal x = x0; x <= x1; x += 1) {
        const qreal envelope = 0.35 + 0.65 * std::fabs(std::sin(x / 23.0));
        const qreal v = y - height * envelope * std::sin(x / 2.7);
        x == x0 ? path.moveTo(x, v) : path.lineTo(x, v);
    }
    return path;
}

// A pair of scissors opened at the cut line x.
void scissors(QPainter &p, qreal x, qreal y, qreal size)
{
    p.save();
    p.translate(x, y);
    p.setPen(QPen(kCut, size * 0.11, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (int side : {-1, 1}) {
        p.drawLine(QPointF(0, 0), QPointF(size * 0.9, side * size * 0.28));
        p.drawEllipse(QPointF(-size * 0.32, -side * size * 0.24), size * 0.2, size * 0.14);
    }
    p.restore();
}

QImage logo()
{
    QImage image(210, 64, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, image.height());
    sky.setColorAt(0, QColor(0xf4, 0xf8, 0xfd));
    sky.setColorAt(1, QColor(0xd8, 0xe6, 0xf5));
    p.fillRect(image.rect(), sky);

    // The kept stretch between two cut marks is drawn stronger than the rest.
    const qreal mid = 44, from = 70, to = 150;
    p.setPen(QPen(kWave.lighter(150), 1.4));
    p.drawPath(wave(6, image.width() - 6, mid, 14));
    p.save();
    p.setClipRect(QRectF(from, 0, to - from, image.height()));
    p.setPen(QPen(kWave, 2.0));
    p.drawPath(wave(6, image.width() - 6, mid, 14));
    p.restore();
    p.setPen(QPen(kCut, 1.5, Qt::DashLine));
    p.drawLine(QPointF(from, 26), QPointF(from, 62));
    p.drawLine(QPointF(to, 26), QPointF(to, 62));
    scissors(p, from - 2, 30, 14);

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(20);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kInk);
    p.drawText(QRectF(0, 2, image.width(), 26), Qt::AlignCenter, QStringLiteral("Kerfa Lumora"));
    return image;
}

QImage about()
{
    QImage image(96, 96, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient disc(QPointF(40, 36), 60);
    disc.setColorAt(0, QColor(0x3a, 0x5a, 0x94));
    disc.setColorAt(1, kInk);
    p.setPen(Qt::NoPen);
    p.setBrush(disc);
    p.drawEllipse(QRectF(2, 2, 92, 92));
    p.setPen(QPen(kWave.lighter(130), 2.2));
    p.setClipRect(QRectF(14, 0, 68, 96));
    p.drawPath(wave(14, 82, 56, 12));
    p.setClipping(false);
    scissors(p, 40, 28, 26);
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kerfaart OUTPUT_FOLDER\n");
        return 1;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    const bool ok = logo().save(folder + QStringLiteral("/logo.jpg"), "JPG", 92) &&
                    about().save(folder + QStringLiteral("/kerfa.png"), "PNG");
    if (!ok)
        std::fprintf(stderr, "kerfaart: cannot write to %s\n", argv[1]);
    return ok ? 0 : 1;
}
