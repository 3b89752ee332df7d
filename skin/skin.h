// The loaded skin: the element lists of a skin folder's "skins.conf" (group SKINS), the
// numbers derived from them, and the skin's pictures ("skins.png", the mini bar pictures and
// masks; the lights pictures on demand). It owns only this data. The main window owns the
// off-screen buffers, their painters and the colour buttons, and sizes them from here after
// each load. Anything missing (folder, description, picture, key, index) reads as zero or as
// an empty picture; nothing here fails hard.
#pragma once

#include <QBitmap>
#include <QColor>
#include <QHash>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>

class Skin
{
public:
    // One value per element key of the description, in the order the keys are listed there.
    enum Key {
        Prev,
        Play,
        Stop,
        Next,
        PosBar,
        PosA,
        PosB,
        Eq,
        PlistWin,
        LrcWin,
        EqWin,
        BtnPlistWin,
        BtnLrcWin,
        BtnEqWin,
        EqeBtn,
        PlistBar,
        Audio3dBtn,
        BassBooster,
        ExitWin,
        HWin,
        MiniWin,
        OpBtn,
        ShufBtn,
        RepeatBtn,
        PlistBtn,
        VlBtn,
        ShowLrcBtn,
        TextCodecBtn,
        FontBtn,
        ColorBtn,
        PresetsBtn,
        EqBtnZero,
        EqPreamp,
        TitleWin,
        TimeWin,
        PlayDisplayWin,
        EqalzrWin,
        LrcWinShow,
        HPosA,
        HPosB,
        HPrev,
        HPlay,
        HStop,
        HNext,
        HPosBar,
        HVlBtn,
        HWinT,
        HWinB,
        HExitWin,
        VWinBtn,
        HMiniWin,
        KeyCount
    };

    // The largest number a skin may give, and the largest side of its pictures: a skin
    // for a 240 x 320 screen needs far less, and with this bound no sum or product of its
    // numbers comes near the int limits.
    static constexpr int maxNumber = 2048;
    static int clampNumber(long long value)
    {
        return int(value < -maxNumber ? -maxNumber : value > maxNumber ? maxNumber : value);
    }

    // One element's integers: 0,1 = place on the window, 2,3 = size, 4,5 = picture source,
    // 6-9 = knob source and size (sliders and bars). Any index past the end reads 0; every
    // value is within +-maxNumber.
    class List
    {
    public:
        List() = default;
        explicit List(const QVector<int> &values) : m_values(values)
        {
            for (int &v : m_values)
                v = clampNumber(v);
        }
        int operator[](int index) const
        {
            return index >= 0 && index < m_values.size() ? m_values.at(index) : 0;
        }
        int size() const { return int(m_values.size()); }
        QRect rect() const { return QRect(at(0), at(1), at(2), at(3)); }
        QRect source() const { return QRect(at(4), at(5), at(2), at(3)); }
        QRect knob() const { return QRect(at(6), at(7), at(8), at(9)); }
        // A touch is on the element only strictly inside its rectangle (edges excluded).
        bool contains(int px, int py) const
        {
            return at(0) < px && px < at(0) + at(2) && at(1) < py && py < at(1) + at(3);
        }

    private:
        int at(int index) const { return (*this)[index]; }
        QVector<int> m_values;
    };

    // Key names as written in "skins.conf" ("prev", "EQ", "H_VL_BTN", ...).
    static QString keyName(Key key);
    // The key of a name, or -1 for a name the description does not define. Case matters.
    static int keyOf(const QString &name);
    // How many items the element of the key is meant to carry (6 for plain elements,
    // 10 for sliders and bars, 11 for "EQ" and "plist_Bar", ...).
    static int itemsUsed(Key key);

    // The mini bar's lyric strip: source rectangle in "skins.png".
    static constexpr QRect miniLyricStrip() { return QRect(0, 463, 240, 23); }
    static constexpr int maxMenuSkins = 7;

    Skin();

    // Loads appDir + "/skins/" + skinName: replaces every list, number and picture. The
    // description is opened read-write, so it is rewritten in normalised form (but a folder
    // without one is not given one). Returns whether the description was found.
    bool load(const QString &appDir, const QString &skinName);

    // The skin menu: the folder names under appDir + "/skins", case-insensitive order,
    // at most seven.
    static QStringList menuNames(const QString &appDir);

    QString name() const { return m_name; }
    QString dir() const { return m_dir; } // folder of the loaded skin, no trailing "/"

    // Out-of-range keys give an empty list (all zeros).
    const List &operator[](Key key) const;
    // By description key name; an unknown name gives an empty list (all zeros).
    const List &element(const QString &keyName) const;
    // The items as written, after dropping empty ones (colours are read from these).
    QStringList items(Key key) const;

    // Vertical window background band: source y and height in "skins.png", at x 0, width 240
    // (within +-maxNumber).
    int mwinY() const { return m_mwinY; }
    int mwinH() const { return m_mwinH; }
    // True: playlist, lyric and equalizer panels share one area. False: the playlist panel
    // stays open and the other two take turns beside it.
    bool winEnabled() const { return m_winEnabled; }
    // Panel states right after a load.
    bool startPlaylistOpen() const { return true; }
    bool startLyricOpen() const { return false; }
    bool startEqOpen() const { return !m_winEnabled; }

    // Colours "title_win"[6] and "plist_Bar"[10]; invalid when the name is not a colour.
    QColor titleColor() const { return m_titleColor; }
    QColor playlistTextColor() const { return m_playlistColor; }

    // Derived numbers.
    int eqMidY() const { return m_eqMidY; }           // EQ[1] + EQ[3] / 2
    int volTravel() const { return m_volTravel; }     // VL_BTN[2] - 14
    int hVolTravel() const { return m_hVolTravel; }   // H_VL_BTN[3] - 16
    int visibleRows() const { return m_visibleRows; } // plist_Bar[3] / 20

    // Pictures of the skin; null when the file is missing or unreadable.
    const QPixmap &picture() const { return m_picture; } // "skins.png"
    const QPixmap &miniMain() const { return m_miniMain; }
    const QPixmap &miniButtons() const { return m_miniButtons; }
    // Shape of the mini bar: "mask.png" (240 x 25) or, with lyrics loaded, "mask_d.png".
    const QBitmap &miniMask(bool withLyrics) const { return withLyrics ? m_maskLyrics : m_mask; }
    // A lights frame (1-3) as it is on disk now: "xmaslights_l<n>.png" or "xmaslights_r<n>.png".
    QPixmap lights(bool right, int frame) const;

private:
    QString m_name;
    QString m_dir;
    QStringList m_items[KeyCount];
    List m_lists[KeyCount];
    int m_mwinY = 0;
    int m_mwinH = 0;
    bool m_winEnabled = true;
    QColor m_titleColor;
    QColor m_playlistColor;
    int m_eqMidY = 0;
    int m_volTravel = -14;
    int m_hVolTravel = -16;
    int m_visibleRows = 0;
    QPixmap m_picture;
    QPixmap m_miniMain;
    QPixmap m_miniButtons;
    QBitmap m_mask;
    QBitmap m_maskLyrics;
    struct SeenPicture {
        qint64 size;
        qint64 time;
        QPixmap picture;
    };
    mutable QHash<QString, SeenPicture> m_lightsSeen;
};
