#pragma once

#include <QFont>
#include <QWidget>

#include <cmath>

// Window layouts are written in twips: 1440 to the inch, 15 to a logical pixel
// at 96 dots per inch. Qt scales logical pixels on high-DPI screens.
constexpr int TwipsPerPixel = 15;

constexpr int Px(int twips) {
    return (twips + TwipsPerPixel / 2) / TwipsPerPixel;
}

inline void Place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(Px(left), Px(top), Px(width), Px(height));
}

// A label "sized to text": placed at its corner, its size taken from its text.
inline void PlaceAt(QWidget* w, int left, int top) {
    w->adjustSize();
    w->move(Px(left), Px(top));
}

// A point is 20 twips.
constexpr int TwipsPerPoint = 20;

// The same face sized for a painter that works in twips, such as a printed
// page: given in points it would be scaled by the device once more.
inline QFont FontInTwips(const QFont& font) {
    QFont scaled = font;
    scaled.setPixelSize(static_cast<int>(std::lround(font.pointSizeF() * TwipsPerPoint)));
    return scaled;
}
