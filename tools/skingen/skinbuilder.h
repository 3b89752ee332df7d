// Builds one complete skin folder from a design: "skins.conf", "skins.png", the mini bar
// pictures and masks, the lights frames and, on request, the horizontal background.
#pragma once

#include "skinart.h"
#include "skindesign.h"

#include <QImage>
#include <QMap>
#include <QStringList>

class SkinBuilder
{
public:
    explicit SkinBuilder(const SkinDesign &design);

    // Writes every file into dir (created when missing); returns false on a write failure.
    bool write(const QString &dir, bool withBackground);

private:
    enum Scene { Band, PlaylistPanel, LyricPanel, EqPanel };

    void paintBase(QImage &img) const;
    void paintPanel(QImage &img, Scene which) const;
    void paintMeters(QPainter &p, int frame) const; // frame 0 = all off
    void buildVertical();
    void buildEqualizer();
    void buildHorizontal();
    QImage miniMain() const;
    QImage miniButtons(const QImage &main) const;
    QImage lyricStrip() const;
    QImage mask(int height) const;
    QImage backdrop() const;
    QImage lights(bool right, int frame) const;

    // A picture of the element at r with the scene's pixels under it.
    QImage cell(Scene scene, const QRect &r, SkinArt::Face f, SkinArt::Symbol s,
                const QString &text = {}) const;
    const QImage &scene(Scene s) const;
    // Where the window point of a scene lies in the skin picture.
    QPoint sourceOf(Scene s, const QPoint &windowPoint) const;
    QPoint place(const QImage &block);
    void set(const QString &key, const QList<int> &items, const QString &colour = {});
    void twoRowButton(const QString &key, Scene s, SkinArt::Face upper, SkinArt::Face lower,
                      SkinArt::Symbol sym, const QString &text = {});

    SkinDesign d;
    SkinArt art;
    QImage m_sheet;
    QImage m_base, m_band, m_scenes[4];
    int m_stripY[4] = {0, 0, 0, 0};
    int m_panelY[4] = {0, 0, 0, 0};
    // Shelf packer over the right part of the skin picture.
    int m_packX = 0, m_packY = 0, m_shelfH = 0, m_usedH = 0;
    QMap<QString, QStringList> m_conf;
    // Horizontal window: the two panels in the 320 x 240 layout, and where their turned
    // pictures went in the skin picture.
    QImage m_hScene;
    QPoint m_hTopSource, m_hBottomSource;
};
