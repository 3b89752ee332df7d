#include "skinpreview.h"

#include "dropin/kconfig.h"

#include <QBitmap>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QTransform>

namespace
{

const QColor lyricColour(0xC8, 0xC8, 0xC8);
const char *const sampleSongs[] = {"Nightfall Over Harbour.mp3", "Paper Lanterns.ogg",
                                   "So Long, Blue Summer.mp3",   "Tidewater.mp3",
                                   "Glass Garden (live).mp3",    "Copper Sky.wav",
                                   "Slow Train North.mp3",       "Last Light.mp3"};
const int sampleEq[10] = {12, 18, 8, 0, -6, -12, -4, 6, 16, 22};

QImage turned(const QImage &img)
{
    return img.transformed(QTransform().rotate(270));
}

} // namespace

bool SkinPreview::load(const QString &skinDir)
{
    m_dir = skinDir;
    const QString conf = skinDir + "/skins.conf";
    if (!QFileInfo::exists(conf))
        return false;
    KConfig c(conf, true);
    c.setGroup(QStringLiteral("SKINS"));
    const KEntryMap entries = c.entryMap();
    for (auto it = entries.constBegin(); it != entries.constEnd(); ++it) {
        const QString key = it.key();
        const QStringList items = c.readListEntry(key);
        QVector<int> values;
        for (const QString &item : items)
            values << KConfig::toNum(item);
        m_lists[key] = values;
        m_raw[key] = c.readEntry(key);
    }
    m_mwinY = c.readNumEntry(QStringLiteral("mwin_Y"));
    m_mwinH = c.readNumEntry(QStringLiteral("mwin_H"));
    m_winEnabled = c.readBoolEntry(QStringLiteral("win_enabled"), true);
    m_skin.load(skinDir + "/skins.png");
    m_miniMain.load(skinDir + "/mini_main.png");
    m_miniBtn.load(skinDir + "/mini_btn.png");
    m_mask.load(skinDir + "/mask.png");
    m_maskD.load(skinDir + "/mask_d.png");
    m_lightL.load(skinDir + "/xmaslights_l1.png");
    m_lightR.load(skinDir + "/xmaslights_r1.png");
    if (!m_back.load(skinDir + "/backskin.png"))
        m_back.load(skinDir + "/../default/backskin.png");
    return !m_skin.isNull();
}

int SkinPreview::at(const char *key, int index) const
{
    const QVector<int> v = m_lists.value(QString::fromLatin1(key));
    return index < v.size() ? v.at(index) : 0;
}

QRect SkinPreview::src(const char *key, int dx, int dy) const
{
    return QRect(at(key, 4) + dx, at(key, 5) + dy, at(key, 2), at(key, 3));
}

QPoint SkinPreview::dst(const char *key) const
{
    return QPoint(at(key, 0), at(key, 1));
}

void SkinPreview::digits(QPainter &p, int x, int y, int seconds) const
{
    const int w = at("time_win", 2), h = at("time_win", 3);
    const int glyphs[5] = {seconds / 600 % 10, seconds / 60 % 10, 10, seconds % 60 / 10,
                           seconds % 10};
    for (int k = 0; k < 5; ++k)
        p.drawImage(x + k * w, y, m_skin, at("time_win", 4) + glyphs[k] * w, at("time_win", 5), w,
                    h);
}

QImage SkinPreview::vertical(const State &s) const
{
    QImage img(240, 320, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::black);
    QPainter p(&img);
    p.drawImage(0, 0, m_skin, 0, m_mwinY, 240, m_mwinH);
    auto el = [&](const char *key, int dx = 0, int dy = 0) {
        p.drawImage(dst(key), m_skin, src(key, dx, dy));
    };
    auto lower = [&](const char *key, bool on) { el(key, 0, on ? at(key, 3) : 0); };
    const bool down = s.pressed;
    lower("exit_win", down);
    lower("H_win", down);
    lower("mini_win", down);
    lower("prev", down);
    el("play", s.playing ? at("play", 2) : 0, down ? at("play", 3) : 0);
    lower("stop", down);
    lower("next", down);
    lower("audio3d_btn", down);
    lower("bassbooster", !down);
    lower("pos_A", down);
    lower("pos_B", false);
    el("VL_BTN");
    const int volume = 45;
    p.drawImage(at("VL_BTN", 0) + (at("VL_BTN", 2) - 14) * volume / 100, at("VL_BTN", 1), m_skin,
                at("VL_BTN", 6), at("VL_BTN", 7) + (down ? at("VL_BTN", 9) : 0), at("VL_BTN", 8),
                at("VL_BTN", 9));

    const bool plOpen = m_winEnabled ? s.panel == 0 : true;
    const bool lrcOpen = s.panel == 1;
    const bool eqOpen = m_winEnabled ? s.panel == 2 : s.panel != 1;
    auto strip = [&](const char *key) {
        p.drawImage(0, at(key, 1), m_skin, 0, at(key, 5), 240, at(key, 3));
    };
    if (plOpen) {
        strip("plistwin");
        lower("OP_BTN", down);
        lower("plist_BTN", down);
        lower("shuf_BTN", true);
        lower("repeat_BTN", down);
    }
    if (lrcOpen) {
        strip("lrcwin");
        lower("showlrc_BTN", true);
        lower("textcodec_BTN", down);
        lower("font_BTN", down);
        el("color_BTN");
    }
    if (eqOpen) {
        strip("eqwin");
        const int w = at("EQ", 2), h = at("EQ", 3), kh = at("EQ", 9);
        for (int i = 0; i < 10; ++i) {
            const int v = sampleEq[i];
            const int x = at("EQ", 0) + i * at("EQ", 10);
            QImage slider(w, h, QImage::Format_ARGB32_Premultiplied);
            QPainter sp(&slider);
            sp.drawImage(0, 0, m_skin, x, at("EQ", 1), w, h);
            const int frame = v < 0 ? v / 2 + 13 : v / 2;
            const int row = v < 0 ? at("EQ", 5) : at("EQ", 5) + h;
            sp.drawImage(0, 0, m_skin, at("EQ", 4) + frame * w, row, w, h);
            sp.drawImage(1, h / 2 - kh / 2 - v, m_skin, at("EQ", 6), at("EQ", 7) + kh, at("EQ", 8),
                         kh);
            sp.end();
            p.drawImage(x, at("EQ", 1), slider);
        }
        const int preamp = 6;
        p.drawImage(at("EQ_Preamp", 0) + 2,
                    at("EQ_Preamp", 1) - kh / 2 + at("EQ_Preamp", 3) / 2 - preamp, m_skin,
                    at("EQ", 6), at("EQ", 7), at("EQ", 8), kh);
        lower("presets_BTN", down);
        lower("EQ_BTN_ZERO", down);
        lower("EQE_BTN", down); // lower = equalizer off
    }
    lower("btn_lrcwin", lrcOpen);
    lower("btn_eqwin", eqOpen);
    if (m_winEnabled)
        lower("btn_plistwin", plOpen);

    // Then the parts drawn straight on the window.
    p.drawImage(dst("play_display_win"), m_skin,
                QRect(at("play_display_win", 0), at("play_display_win", 1),
                      at("play_display_win", 2), at("play_display_win", 3)));
    const int state = s.playing ? 0 : 2;
    p.drawImage(dst("play_display_win"), m_skin,
                src("play_display_win", 0, state * at("play_display_win", 3)));
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
    if (plOpen) {
        const int rows = at("plist_Bar", 3) / 20;
        const QColor pen(m_raw.value("plist_Bar").section(',', 10, 10));
        for (int k = 0; k < rows; ++k) {
            QImage row(210, 14, QImage::Format_ARGB32_Premultiplied);
            QPainter rp(&row);
            rp.drawImage(0, 0, m_skin, 10, at("plist_Bar", 1) + 10, 210, 14);
            rp.setPen(pen);
            rp.setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
            const QString text = QString::number(k + 1) + "." + sampleSongs[k];
            if (k == 2) {
                rp.setBackgroundMode(Qt::OpaqueMode);
                rp.setBackground(Qt::white);
            }
            rp.drawText(QRect(0, 0, 210, 14), Qt::AlignLeft | Qt::AlignTop, text);
            rp.end();
            p.drawImage(10, at("plist_Bar", 1) + 20 * k, row);
        }
        el("plist_Bar");
        const int offset = 2 * (at("plist_Bar", 3) - 20) / 8;
        p.drawImage(at("plist_Bar", 0) + 1, at("plist_Bar", 1) + offset, m_skin, at("plist_Bar", 6),
                    at("plist_Bar", 7) + (down ? at("plist_Bar", 9) : 0), at("plist_Bar", 8),
                    at("plist_Bar", 9));
    }
    if (lrcOpen) {
        const int H = at("lrcwin_show", 3);
        QImage lyr(at("lrcwin_show", 2), H, QImage::Format_ARGB32_Premultiplied);
        QPainter lp(&lyr);
        lp.drawImage(0, 0, m_skin, at("lrcwin_show", 4), at("lrcwin_show", 5), lyr.width(), H);
        QFont f = lp.font();
        f.setPointSize(14);
        lp.setFont(f);
        const char *const lines[] = {"the harbour lights are low", "and the tide is turning home",
                                     "sing it slow, sing it slow", "till the morning finds us"};
        const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::AlignVCenter | Qt::TextWordWrap;
        const int lh = 24, scroll = -6;
        for (int i = 0; i < 4; ++i) {
            lp.setPen(i == 1 ? QColor(Qt::white) : lyricColour);
            lp.drawText(QRect(0, scroll + H / 2 + (i - 1) * lh, 240, 40), flags,
                        QString::fromLatin1(lines[i]));
        }
        lp.end();
        p.drawImage(dst("lrcwin_show"), lyr);
        // The two colour swatch buttons of the window.
        const int cx = at("color_BTN", 0) + at("color_BTN", 2), cy = at("color_BTN", 1) + 1;
        p.fillRect(QRect(cx + 10, cy, 12, 12), Qt::white);
        p.fillRect(QRect(cx + 27, cy, 12, 12), lyricColour);
    }
    if (eqOpen) {
        QImage curve(at("eqalzr_win", 2), at("eqalzr_win", 3), QImage::Format_ARGB32_Premultiplied);
        QPainter cp(&curve);
        cp.drawImage(0, 0, m_skin, at("eqalzr_win", 4), at("eqalzr_win", 5), curve.width(),
                     curve.height());
        int x = 0;
        for (int k = 0; k < 9; ++k)
            for (int j = 0; j < 12; ++j, ++x) {
                const int y = ((11 - j) * sampleEq[k] + j * sampleEq[k + 1]) / 33;
                cp.drawImage(x, 10 - y, m_skin, at("eqalzr_win", 6), at("eqalzr_win", 7) - y, 1, 1);
            }
        cp.end();
        p.drawImage(dst("eqalzr_win"), curve);
    }
    digits(p, at("time_win", 0), at("time_win", 1), 754);
    // Title.
    QImage title(at("title_win", 2), at("title_win", 3), QImage::Format_ARGB32_Premultiplied);
    {
        QPainter tp(&title);
        tp.drawImage(0, 0, m_skin, at("title_win", 4), at("title_win", 5), title.width(),
                     title.height());
        tp.setPen(QColor(m_raw.value("title_win").section(',', 6, 6)));
        tp.setFont(QFont(QStringLiteral("SSong"), 10));
        tp.drawText(title.rect(), Qt::AlignLeft | Qt::AlignTop, "3.So Long, Blue Summer.mp3");
    }
    p.drawImage(dst("title_win"), title);
    // Position bar at 40 %.
    {
        QImage bar(at("posbar", 2), at("posbar", 3), QImage::Format_ARGB32_Premultiplied);
        QPainter bp(&bar);
        bp.drawImage(0, 0, m_skin, at("posbar", 4), at("posbar", 5), bar.width(), bar.height());
        bp.drawImage((at("posbar", 2) - 32) * 40 / 100, 1, m_skin, at("posbar", 6),
                     at("posbar", 7) + (down ? at("posbar", 9) : 0), at("posbar", 8),
                     at("posbar", 9));
        bp.end();
        p.drawImage(dst("posbar"), bar);
    }
    p.drawImage(0, 10, m_lightL);
    p.drawImage(100, 10, m_lightR);
    return img;
}

QImage SkinPreview::horizontal(const State &s) const
{
    QImage land(320, 240, QImage::Format_ARGB32_Premultiplied);
    land.fill(Qt::black);
    {
        QPainter p(&land);
        p.drawImage(0, 0, m_back);
        p.setPen(lyricColour);
        p.drawText(40, 70, "Speed:128 Kbps");
        p.drawText(40, 100, "Sampl:44 KHZ");
        p.drawText(40, 130, "Chl : Stereo");
        p.drawText(QRect(40, 140, 60, 30), Qt::AlignLeft | Qt::AlignTop, "Artist:");
        p.drawText(QRect(100, 140, 210, 50), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                   "The Harbour Quartet - Nightfall Over Harbour");
    }
    QImage img = turned(land);
    QPainter p(&img);
    auto el = [&](const char *key, int dx = 0, int dy = 0) {
        p.drawImage(dst(key), m_skin, src(key, dx, dy));
    };
    const bool down = s.pressed;
    el("H_WIN_T");
    el("H_WIN_B");
    auto beside = [&](const char *key, bool on) { el(key, on ? at(key, 2) : 0, 0); };
    beside("H_exit_win", down);
    beside("V_win_btn", down);
    beside("H_mini_win", down);
    beside("H_prev", down);
    el("H_play", down ? at("H_play", 2) : 0, s.playing ? -at("H_play", 3) : 0);
    beside("H_stop", down);
    beside("H_next", down);
    beside("H_pos_A", true);
    beside("H_pos_B", down);
    p.drawImage(
        QPoint(at("H_VL_BTN", 0), at("H_VL_BTN", 1) - 2), m_skin,
        QRect(at("H_VL_BTN", 4), at("H_VL_BTN", 5), at("H_VL_BTN", 2), at("H_VL_BTN", 3) + 4));
    const int volume = 45;
    p.drawImage(at("H_VL_BTN", 0),
                at("H_VL_BTN", 1) + (at("H_VL_BTN", 3) - 16) * (100 - volume) / 100, m_skin,
                at("H_VL_BTN", 6) + (down ? at("H_VL_BTN", 8) : 0), at("H_VL_BTN", 7),
                at("H_VL_BTN", 8), at("H_VL_BTN", 9));
    // Time: five cells into the time picture, turned, at (40,10).
    QImage time(at("time_win", 6), at("time_win", 7), QImage::Format_ARGB32_Premultiplied);
    time.fill(Qt::transparent);
    {
        QPainter tp(&time);
        digits(tp, 0, 0, 754);
    }
    p.drawImage(40, 10, turned(time));
    QImage title(at("title_win", 2), at("title_win", 3), QImage::Format_ARGB32_Premultiplied);
    {
        QPainter tp(&title);
        tp.drawImage(0, 0, m_skin, at("title_win", 4), at("title_win", 5), title.width(),
                     title.height());
        tp.setPen(QColor(m_raw.value("title_win").section(',', 6, 6)));
        tp.setFont(QFont(QStringLiteral("SSong"), 10));
        tp.drawText(title.rect(), Qt::AlignLeft | Qt::AlignTop, "1.Nightfall Over Harbour.mp3");
    }
    p.drawImage(21, 112, turned(title));
    {
        QImage bar(at("H_posbar", 2), at("H_posbar", 3), QImage::Format_ARGB32_Premultiplied);
        QPainter bp(&bar);
        bp.drawImage(0, 0, m_skin, at("H_posbar", 4), at("H_posbar", 5), bar.width(), bar.height());
        const int pct = 100 - 40;
        bp.drawImage(1, (at("H_posbar", 3) - 32) * pct / 100, m_skin,
                     at("H_posbar", 6) + (down ? at("H_posbar", 8) : 0), at("H_posbar", 7),
                     at("H_posbar", 8), at("H_posbar", 9));
        bp.end();
        p.drawImage(dst("H_posbar"), bar);
    }
    return img;
}

QImage SkinPreview::mini(bool lyrics, bool pressed) const
{
    QImage img(240, lyrics ? 48 : 25, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.drawImage(0, 0, m_miniMain);
    p.drawImage(220, 0, m_miniBtn, 40, pressed ? 60 : 40, 20, 18);
    p.drawImage(200, 0, m_miniBtn, pressed ? 0 : 20, pressed ? 60 : 40, 20, 18);
    p.drawImage(180, 0, m_miniBtn, pressed ? 20 : 0, pressed ? 60 : 40, 20, 18);
    p.drawImage(26, 3, m_miniBtn, pressed ? 21 : 0, pressed ? 20 : 0, 21, 20);
    p.drawImage(5, 3, m_miniBtn, 42, pressed ? 20 : 0, 20, 20);
    p.drawImage(47, 3, m_miniBtn, 62, 0, 20, 20);
    const int glyphs[4] = {1, 2, 3, 4};
    const int xs[4] = {90, 101, 121, 132};
    for (int k = 0; k < 4; ++k)
        p.drawImage(xs[k], 8, m_miniBtn, 82 + 10 * glyphs[k], 0, 10, 16);
    p.drawImage(114, 8, m_miniBtn, 182, 0, 4, 16);
    if (lyrics) {
        p.drawImage(0, 25, m_skin, 0, 463, 240, 23);
        QFont f = p.font();
        f.setPointSize(11);
        p.setFont(f);
        p.setPen(lyricColour);
        p.drawText(QRect(0, 25, 240, 23), Qt::AlignHCenter | Qt::AlignVCenter,
                   "and the tide is turning home");
    }
    p.end();
    const QImage &m = lyrics ? m_maskD : m_mask;
    for (int y = 0; y < img.height() && y < m.height(); ++y)
        for (int x = 0; x < img.width() && x < m.width(); ++x)
            if (qGray(m.pixel(x, y)) >= 128)
                img.setPixel(x, y, 0);
    return img;
}

bool SkinPreview::writeAll(const QString &outDir, const QString &prefix) const
{
    QDir().mkpath(outDir);
    QImage sheet(6 * 250 + 10, 330 + 2 * 60, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor("#808080"));
    QPainter p(&sheet);
    const State states[4] = {
        {0, false, true}, {1, false, true}, {2, false, false}, {0, true, true}};
    bool ok = true;
    for (int i = 0; i < 4; ++i) {
        const QImage v = vertical(states[i]);
        ok = v.save(QStringLiteral("%1/%2-vertical-%3.png").arg(outDir, prefix).arg(i)) && ok;
        p.drawImage(10 + 250 * i, 5, v);
    }
    for (int i = 0; i < 2; ++i) {
        const QImage h = horizontal({0, i == 1, i == 0});
        ok = h.save(QStringLiteral("%1/%2-horizontal-%3.png").arg(outDir, prefix).arg(i)) && ok;
        p.drawImage(10 + 250 * (4 + i), 5, h);
    }
    for (int i = 0; i < 4; ++i) {
        const QImage m = mini(i >= 2, i % 2 == 1);
        ok = m.save(QStringLiteral("%1/%2-mini-%3.png").arg(outDir, prefix).arg(i)) && ok;
        p.drawImage(10 + 250 * i, 335, m);
    }
    p.end();
    return sheet.save(QStringLiteral("%1/%2-all.png").arg(outDir, prefix)) && ok;
}
