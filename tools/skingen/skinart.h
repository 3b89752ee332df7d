// Drawing primitives of the generated skins: button faces, anti-aliased symbols, display
// glyphs, meters and knobs, all in one design's palette.
#pragma once

#include "skindesign.h"

#include <QPainter>

class SkinArt
{
public:
    enum Face { Normal, Pressed, On, OnPressed };
    enum Symbol {
        Play,
        Pause,
        Stop,
        Prev,
        Next,
        Open,
        List,
        Shuffle,
        Repeat,
        Exit,
        Minimize,
        Rotate,
        Portrait,
        Menu,
        Speaker,
        Grip,
        Restore,
        Text // Text: the label is the symbol
    };

    explicit SkinArt(const SkinDesign &design) : d(design) {}

    // The window body's gradient over the window height, so separate strips join up.
    void body(QPainter &p, const QRect &area, int fullHeight = 320) const;
    void topBar(QPainter &p, const QRect &area) const;
    void panel(QPainter &p, const QRectF &r) const;
    void inset(QPainter &p, const QRectF &r, const QColor &fill) const;
    void lcd(QPainter &p, const QRectF &r) const;

    void face(QPainter &p, const QRectF &r, Face face) const;
    void symbol(QPainter &p, const QRectF &box, Symbol s, const QColor &c) const;
    // A complete button: face, symbol or text, and a small light for the On faces.
    void button(QPainter &p, const QRectF &r, Face f, Symbol s, const QString &text = {}) const;
    void label(QPainter &p, const QRectF &r, const QString &text, const QColor &c, int px,
               bool bold = true, Qt::Alignment align = Qt::AlignCenter) const;

    // Digit glyph 0-9, or 10 for the colon, on the display colour.
    void glyph(QPainter &p, const QRect &cell, int g, const QColor &on) const;
    void led(QPainter &p, const QRectF &r, const QColor &c, bool lit) const;
    enum Knob { Plain, Lit, Bright };
    void knob(QPainter &p, const QRectF &r, Knob look, bool upright) const;
    void groove(QPainter &p, const QRectF &r) const;

    const SkinDesign &design() const { return d; }

private:
    void sevenSegment(QPainter &p, const QRectF &r, int g, const QColor &on) const;
    void dots(QPainter &p, const QRectF &r, int g, const QColor &on) const;
    const SkinDesign &d;
};
