#pragma once

#include <QPainter>
#include <QWidget>

// A divider drawn as two lines one pixel apart: the first in the button-shadow
// colour, the second in the highlighted-text colour.
class EngravedLine : public QWidget {
public:
    EngravedLine(Qt::Orientation orientation, QWidget* parent)
        : QWidget(parent), orientation_(orientation) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(palette().color(QPalette::Dark));
        if (orientation_ == Qt::Vertical) {
            p.drawLine(0, 0, 0, height() - 1);
            p.setPen(palette().color(QPalette::HighlightedText));
            p.drawLine(1, 0, 1, height() - 1);
        } else {
            p.drawLine(0, 0, width() - 1, 0);
            p.setPen(palette().color(QPalette::HighlightedText));
            p.drawLine(0, 1, width() - 1, 1);
        }
    }

private:
    Qt::Orientation orientation_;
};
