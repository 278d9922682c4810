#include "saw_sheet.h"

#include "plan_texts.h"
#include "widgets/twips.h"

#include <QFontMetricsF>
#include <QStringList>

#include <algorithm>

namespace {

// Twips: the bar pictures start right of the tick box and take the rest of
// the width but for room for their outline; text keeps this far from the
// edges of a piece or a leftover.
constexpr double TickSize = 200;
constexpr double BarLeft = 400;
constexpr double BarRight = SawSheetWidth - 20;
constexpr double BarHeight = 440;
constexpr double BarGap = 100;
constexpr double PatternGap = 240;
constexpr double TextPadding = 40;
constexpr double WrapIndent = 300;

double LineHeight(SheetStyle style) {
    switch (style) {
    case SheetStyle::Heading:
        return 440;
    case SheetStyle::Label:
        return 200;
    default:
        return 300;
    }
}

double TextWidth(const QString& text, SheetStyle style) {
    return QFontMetricsF(SheetFont(style)).horizontalAdvance(text);
}

// The pieces of a bar as they are cut: longest first, then by grille, so
// that the stop is set once for each length.
std::vector<cutting::Piece> SawOrder(std::vector<cutting::Piece> pieces) {
    std::stable_sort(pieces.begin(), pieces.end(), [](const auto& a, const auto& b) {
        return a.length != b.length ? a.length > b.length : a.grille < b.grille;
    });
    return pieces;
}

PieceLabel LabelThatFits(const cutting::Piece& piece, const QRectF& box) {
    const double room = box.width() - 2 * TextPadding;
    const double length = TextWidth(QString::number(piece.length), SheetStyle::Label);
    const double grille = TextWidth(GrilleLabel(piece.grille), SheetStyle::Label);
    if (std::max(length, grille) <= room && 2 * LineHeight(SheetStyle::Label) <= box.height())
        return PieceLabel::LengthAndGrille;
    return length <= room ? PieceLabel::Length : PieceLabel::None;
}

// Adds texts and bars from the top of the page down.
class SheetWriter {
public:
    // A line of text; a line too long for the page is cut after a comma and
    // goes on indented.
    void Line(const QString& text, SheetStyle style, double left = 0);
    void Break() { sheet_.breaks.push_back(y_); }
    void Skip(double height) { y_ += height; }
    void Bar(const cutting::Pattern& pattern, const std::vector<cutting::Piece>& pieces,
             const cutting::Settings& settings);
    SawSheet Finish();

private:
    void Text(const QRectF& box, const QString& text, SheetStyle style, Qt::Alignment align,
              bool opaque = false);
    SheetBar BarPicture(const cutting::Pattern& pattern, const std::vector<cutting::Piece>& pieces,
                        const cutting::Settings& settings) const;

    SawSheet sheet_;
    double y_ = 0;
};

void SheetWriter::Text(const QRectF& box, const QString& text, SheetStyle style,
                       Qt::Alignment align, bool opaque) {
    sheet_.texts.push_back({box, text, style, align, opaque});
}

void SheetWriter::Line(const QString& text, SheetStyle style, double left) {
    const QStringList parts = text.split(QStringLiteral(", "));
    QString line;
    double indent = left;
    for (const QString& part : parts) {
        const QString longer = line.isEmpty() ? part : line + QStringLiteral(", ") + part;
        if (!line.isEmpty() && indent + TextWidth(longer, style) > SawSheetWidth) {
            Text(QRectF(indent, y_, SawSheetWidth - indent, LineHeight(style)), line + ',', style,
                 Qt::AlignLeft | Qt::AlignVCenter);
            y_ += LineHeight(style);
            indent = left + WrapIndent;
            line = part;
        } else {
            line = longer;
        }
    }
    Text(QRectF(indent, y_, SawSheetWidth - indent, LineHeight(style)), line, style,
         Qt::AlignLeft | Qt::AlignVCenter);
    y_ += LineHeight(style);
}

SheetBar SheetWriter::BarPicture(const cutting::Pattern& pattern,
                                 const std::vector<cutting::Piece>& pieces,
                                 const cutting::Settings& settings) const {
    SheetBar bar;
    bar.tick = QRectF(0, y_ + (BarHeight - TickSize) / 2, TickSize, TickSize);
    bar.bar = QRectF(BarLeft, y_, BarRight - BarLeft, BarHeight);
    const double scale = bar.bar.width() / std::max(pattern.stock, 1);
    const double trim = pattern.onHand ? 0 : settings.trim * scale;
    double x = bar.bar.left() + trim;
    for (const cutting::Piece& piece : pieces) {
        const QRectF box(x, y_, piece.length * scale, BarHeight);
        bar.pieces.push_back({box, piece, LabelThatFits(piece, box)});
        bar.listed = bar.listed || bar.pieces.back().label != PieceLabel::LengthAndGrille;
        x += (piece.length + settings.kerf) * scale;
    }
    if (pattern.offcut > 0) {
        const double width = pattern.offcut * scale;
        bar.leftover = QRectF(bar.bar.right() - trim - width, y_, width, BarHeight);
    }
    return bar;
}

void SheetWriter::Bar(const cutting::Pattern& pattern, const std::vector<cutting::Piece>& pieces,
                      const cutting::Settings& settings) {
    y_ += BarGap;
    SheetBar bar = BarPicture(pattern, pieces, settings);
    for (const SheetPiece& piece : bar.pieces) {
        QString label = QString::number(piece.piece.length);
        if (piece.label == PieceLabel::LengthAndGrille)
            label += '\n' + GrilleLabel(piece.piece.grille);
        if (piece.label != PieceLabel::None)
            Text(piece.box, label, SheetStyle::Label, Qt::AlignCenter);
    }
    y_ += BarHeight;
    const QString note = LeftoverNote(pattern.offcut, settings.minUseful);
    if (!note.isEmpty()) {
        // On the hatched leftover when it is wide enough, else under its end.
        if (TextWidth(note, SheetStyle::Label) + 2 * TextPadding <= bar.leftover.width()) {
            Text(bar.leftover, note, SheetStyle::Label, Qt::AlignCenter, true);
        } else {
            Text(QRectF(BarLeft, y_, bar.bar.width(), LineHeight(SheetStyle::Plain)), note,
                 SheetStyle::Plain, Qt::AlignRight | Qt::AlignVCenter);
            y_ += LineHeight(SheetStyle::Plain);
        }
    }
    if (bar.listed) {
        QStringList names;
        for (const cutting::Piece& piece : pieces)
            names << PieceText(piece);
        Line(QStringLiteral("Детали: %1").arg(names.join(QStringLiteral(", "))), SheetStyle::Plain,
             BarLeft);
    }
    bar.bottom = y_;
    sheet_.bars.push_back(std::move(bar));
}

SawSheet SheetWriter::Finish() {
    sheet_.height = y_ + BarGap;
    return std::move(sheet_);
}

} // namespace

QFont SheetFont(SheetStyle style) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(style == SheetStyle::Heading ? 14 : style == SheetStyle::Label ? 8 : 9);
    font.setBold(style == SheetStyle::Heading || style == SheetStyle::Bold);
    return FontInTwips(font);
}

SawSheet LayOutSawSheet(const PlanValue& value, const QString& orderNumber, const QDate& date) {
    const cutting::Plan& plan = value.result.plan;
    SheetWriter w;
    w.Line(SheetHeading(orderNumber, date), SheetStyle::Heading);
    for (const QString& line : {SettingsText(value.settings), TotalsText(plan), PurchasesText(plan),
                                LeftoversText(plan, value.settings.minUseful), StatusText(value)})
        w.Line(line, SheetStyle::Plain);
    w.Break();
    w.Skip(PatternGap);
    w.Line(QStringLiteral("Настройка упора"), SheetStyle::Bold);
    for (const QString& line : StopTexts(plan)) {
        w.Line(line, SheetStyle::Plain, WrapIndent);
        w.Break();
    }
    for (const cutting::Pattern& pattern : plan.patterns) {
        w.Skip(PatternGap);
        w.Line(PatternText(pattern), SheetStyle::Bold);
        w.Line(QStringLiteral("Решетки: %1").arg(GrillesText(pattern)), SheetStyle::Plain);
        for (const auto& pieces : pattern.bars) {
            w.Bar(pattern, SawOrder(pieces), value.settings);
            w.Break();
        }
    }
    return w.Finish();
}
