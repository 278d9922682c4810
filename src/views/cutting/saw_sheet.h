#pragma once

// The printed plan as the sheet the person at the saw works from, laid out in
// twips on a page SawSheetWidth wide: the heading with the order and the day,
// what the plan was made with, the stop to set for each piece length, then
// each way of cutting with every one of its bars drawn on its own, a box to
// tick it off, its pieces labelled and its leftover marked. The layout is
// plain data; painting only draws what it says (plan_print.cpp).

#include "plan_value.h"

#include <QFont>
#include <QRectF>
#include <QString>

#include <vector>

class QDate;

// Twips: the printable width of A4 with margins.
constexpr double SawSheetWidth = 11000;

enum class SheetStyle { Heading, Bold, Plain, Label };

// The face a text of that style is drawn in, sized in twips.
QFont SheetFont(SheetStyle style);

// A text drawn in its box with its alignment; '\n' starts a new line.
struct SheetText {
    QRectF box;
    QString text;
    SheetStyle style = SheetStyle::Plain;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
    // On a white ground, to be read over the hatching of a leftover.
    bool opaque = false;
};

// How much of a piece's label fits inside its picture.
enum class PieceLabel { LengthAndGrille, Length, None };

struct SheetPiece {
    QRectF box;
    cutting::Piece piece;
    PieceLabel label = PieceLabel::None;
};

// One bar: the box to tick once it is cut, the bar to scale with its pieces
// in the order they are cut (longest first, one length together), and its
// leftover hatched.
struct SheetBar {
    QRectF tick;
    QRectF bar;
    std::vector<SheetPiece> pieces;
    QRectF leftover; // empty when nothing is left
    // Some piece's label did not fit whole: the pieces are listed under it.
    bool listed = false;
    // Below the bar and the lines that go with it.
    double bottom = 0;
};

struct SawSheet {
    double height = 0;
    std::vector<SheetText> texts;
    std::vector<SheetBar> bars;
    // Where a printed sheet may end, ascending: between the lines of the
    // head, between bars and between patterns, never through a bar.
    std::vector<double> breaks;
};

// The sheet of the plan; an empty order number leaves the order out.
SawSheet LayOutSawSheet(const PlanValue& value, const QString& orderNumber, const QDate& date);
