#include "skin/skin.h"

#include "dropin/kconfig.h"
#include "platform/logging.h"
#include "skin/picturecache.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <iterator>

#include <sys/stat.h>

namespace
{

struct KeyRow {
    const char *name;
    int itemsUsed;
};

// Indexed by Skin::Key.
constexpr KeyRow keyTable[] = {
    {"prev", 6},        {"play", 6},        {"stop", 6},        {"next", 6},
    {"posbar", 10},     {"pos_A", 6},       {"pos_B", 6},       {"EQ", 11},
    {"plistwin", 6},    {"lrcwin", 6},      {"eqwin", 6},       {"btn_plistwin", 6},
    {"btn_lrcwin", 6},  {"btn_eqwin", 6},   {"EQE_BTN", 6},     {"plist_Bar", 11},
    {"audio3d_btn", 6}, {"bassbooster", 6}, {"exit_win", 6},    {"H_win", 6},
    {"mini_win", 6},    {"OP_BTN", 6},      {"shuf_BTN", 6},    {"repeat_BTN", 6},
    {"plist_BTN", 6},   {"VL_BTN", 10},     {"showlrc_BTN", 6}, {"textcodec_BTN", 6},
    {"font_BTN", 6},    {"color_BTN", 6},   {"presets_BTN", 6}, {"EQ_BTN_ZERO", 6},
    {"EQ_Preamp", 6},   {"title_win", 7},   {"time_win", 8},    {"play_display_win", 6},
    {"eqalzr_win", 8},  {"lrcwin_show", 6}, {"H_pos_A", 6},     {"H_pos_B", 6},
    {"H_prev", 6},      {"H_play", 6},      {"H_stop", 6},      {"H_next", 6},
    {"H_posbar", 10},   {"H_VL_BTN", 10},   {"H_WIN_T", 6},     {"H_WIN_B", 6},
    {"H_exit_win", 6},  {"V_win_btn", 6},   {"H_mini_win", 6},
};
static_assert(std::size(keyTable) == Skin::KeyCount, "one row per element key");

bool withinPictureBound(const QString &path);

// Dark pixels are the shape; a picture with alpha counts its transparent part as outside.
QImage decodeMask(const QString &path)
{
    QImage image;
    if (!withinPictureBound(path) || !image.load(path, "PNG"))
        return QImage();
    if (image.hasAlphaChannel()) {
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) >= 128)
                    flat.setPixel(x, y, image.pixel(x, y) | 0xff000000u);
        image = flat;
    }
    return image.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
}

// A skin picture larger than any skin needs is not decoded at all: its size alone could
// take hundreds of megabytes.
bool withinPictureBound(const QString &path)
{
    const QSize size = QImageReader(path).size();
    if (size.width() <= Skin::maxNumber && size.height() <= Skin::maxNumber)
        return true;
    qCWarning(lcSkin).noquote() << "skin picture" << path << "too large:" << size.width() << "x"
                                << size.height();
    return false;
}

QImage decodeSkinPicture(const QString &path)
{
    return withinPictureBound(path) ? PictureCache::decodePicture(path) : QImage();
}

} // namespace

QString Skin::keyName(Key key)
{
    return key >= 0 && key < KeyCount ? QString::fromLatin1(keyTable[key].name) : QString();
}

int Skin::keyOf(const QString &name)
{
    for (int k = 0; k < KeyCount; ++k)
        if (name == QLatin1String(keyTable[k].name))
            return k;
    return -1;
}

int Skin::itemsUsed(Key key)
{
    return key >= 0 && key < KeyCount ? keyTable[key].itemsUsed : 0;
}

Skin::Skin() = default;

static const Skin::List &noList()
{
    static const Skin::List none;
    return none;
}

const Skin::List &Skin::operator[](Key key) const
{
    return key >= 0 && key < KeyCount ? m_lists[key] : noList();
}

const Skin::List &Skin::element(const QString &keyName) const
{
    const int key = keyOf(keyName);
    return key < 0 ? noList() : m_lists[key];
}

QStringList Skin::items(Key key) const
{
    return key >= 0 && key < KeyCount ? m_items[key] : QStringList();
}

bool Skin::load(const QString &appDir, const QString &skinName)
{
    m_lightsSeen.clear();
    m_name = skinName;
    m_dir = appDir + QLatin1String("/skins/") + skinName;
    const QString confPath = m_dir + QLatin1String("/skins.conf");
    // A name is one folder under "skins": anything that would climb out of it (from a
    // hand-edited settings file) loads as a skin without description, and no file outside
    // the skins folder is rewritten.
    const bool safeName = !skinName.isEmpty() && skinName != QLatin1String(".") &&
                          skinName != QLatin1String("..") && !skinName.contains(QLatin1Char('/'));
    if (!safeName)
        qCWarning(lcSkin).noquote() << "refusing skin name" << skinName;
    const QFileInfo confInfo(confPath);
    // Unreadable, it would be rewritten empty; keep it as it is.
    const bool described = safeName && confInfo.isFile() && confInfo.isReadable();
    qCDebug(lcSkin).noquote() << "loading skin" << m_dir << (described ? "" : "(no description)");

    {
        // Opened read-write only when present: the rewrite normalises the file, and a folder
        // without a description must stay without one.
        KConfig conf(described ? confPath : QString(), !described);
        conf.setGroup(QStringLiteral("SKINS"));
        for (int k = 0; k < KeyCount; ++k) {
            m_items[k] = conf.readListEntry(QLatin1String(keyTable[k].name));
            QVector<int> values;
            values.reserve(m_items[k].size());
            for (const QString &item : std::as_const(m_items[k]))
                values.append(KConfig::toNum(item));
            m_lists[k] = List(values);
        }
        m_mwinY = clampNumber(conf.readNumEntry(QStringLiteral("mwin_Y"), 0));
        m_mwinH = clampNumber(conf.readNumEntry(QStringLiteral("mwin_H"), 0));
        m_winEnabled = conf.readBoolEntry(QStringLiteral("win_enabled"), true);
    }

    const List &eq = m_lists[Eq];
    m_eqMidY = eq[1] + eq[3] / 2;
    m_volTravel = m_lists[VlBtn][2] - 14;
    m_hVolTravel = m_lists[HVlBtn][3] - 16;
    m_visibleRows = m_lists[PlistBar][3] / 20;

    // A name that is not a colour leaves an invalid colour.
    auto colourAt = [](const QStringList &items, int index) {
        return index < items.size() ? QColor(items.at(index).trimmed()) : QColor();
    };
    m_titleColor = colourAt(m_items[TitleWin], 6);
    m_playlistColor = colourAt(m_items[PlistBar], 10);

    if (!safeName)
        m_dir.clear(); // no pictures either
    auto in = [this](const char *file) {
        return m_dir.isEmpty() ? QString() : m_dir + QLatin1Char('/') + QLatin1String(file);
    };
    // Each picture has a slot of its own in the cache, named after the skin.
    const PictureCache cache(PictureCache::userFolder());
    auto picture = [&](const char *file) {
        const QString slot = skinName + QLatin1Char('.') + QLatin1String(file);
        return QPixmap::fromImage(cache.load(in(file), slot, decodeSkinPicture));
    };
    auto mask = [&](const char *file) {
        const QString slot = skinName + QLatin1Char('.') + QLatin1String(file);
        return QBitmap::fromImage(cache.load(in(file), slot, decodeMask));
    };
    m_picture = picture("skins.png");
    m_miniButtons = picture("mini_btn.png");
    m_miniMain = picture("mini_main.png");
    m_mask = mask("mask.png");
    m_maskLyrics = mask("mask_d.png");
    return described;
}

QPixmap Skin::lights(bool right, int frame) const
{
    if (m_dir.isEmpty())
        return QPixmap();
    const QString path = m_dir +
                         (right ? QLatin1String("/xmaslights_r") : QLatin1String("/xmaslights_l")) +
                         QString::number(frame) + QLatin1String(".png");
    // Asked for twice a second: decoded again only when the file has changed.
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) {
        m_lightsSeen.remove(path);
        return QPixmap();
    }
    const qint64 time = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    const auto seen = m_lightsSeen.constFind(path);
    if (seen != m_lightsSeen.cend() && seen->size == st.st_size && seen->time == time)
        return seen->picture;
    const QPixmap picture = QPixmap::fromImage(decodeSkinPicture(path));
    m_lightsSeen.insert(path, SeenPicture{st.st_size, time, picture});
    return picture;
}

QStringList Skin::menuNames(const QString &appDir)
{
    QDir skins(appDir + QLatin1String("/skins"));
    QStringList names = skins.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    if (names.size() > maxMenuSkins)
        names.erase(names.begin() + maxMenuSkins, names.end());
    return names;
}
