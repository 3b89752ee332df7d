// Composes a skin folder's pictures the way the player's window draws them (vertical window
// with each panel, horizontal window, mini bar, and pressed/on states) into preview PNGs,
// so a skin can be judged without running the player.
#pragma once

#include <QImage>
#include <QMap>
#include <QPainter>
#include <QString>
#include <QVector>

class SkinPreview
{
public:
    // Reads skinDir; false when its description or picture is missing.
    bool load(const QString &skinDir);
    // Writes <prefix>-vertical-*.png, -horizontal*.png, -mini*.png; returns success.
    bool writeAll(const QString &outDir, const QString &prefix) const;

    struct State {
        int panel = 0;        // 0 playlist, 1 lyrics, 2 equalizer
        bool pressed = false; // draw buttons pressed and toggles on
        bool playing = true;
    };
    QImage vertical(const State &s) const;
    QImage horizontal(const State &s) const;
    QImage mini(bool lyrics, bool pressed) const;

private:
    int at(const char *key, int index) const;
    QRect src(const char *key, int dx = 0, int dy = 0) const; // source rect moved by dx, dy
    QPoint dst(const char *key) const;
    void digits(QPainter &p, int x, int y, int seconds) const;

    QString m_dir;
    QMap<QString, QVector<int>> m_lists;
    QMap<QString, QString> m_raw;
    int m_mwinY = 0, m_mwinH = 0;
    bool m_winEnabled = true;
    QImage m_skin, m_miniMain, m_miniBtn, m_mask, m_maskD, m_back, m_lightL, m_lightR;
};
