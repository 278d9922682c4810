// The cutting sheet for the saw: its layout (every bar on its own, every
// piece labelled, sheets ending only between bars) and what the printed
// page says.

#include "testsupport/ui_test_support.h"
#include "views/cutting/plan_print.h"
#include "views/cutting/plan_texts.h"
#include "views/cutting/saw_sheet.h"

#include <QDate>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

namespace {

using cutting::Piece;
constexpr auto H = cutting::PieceKind::Horizontal;

// `bars` cut the same way on `stock`, with a saw cut of 3 mm; the lengths
// are those of each bar, longest first.
cutting::Pattern Cut(int stock, std::vector<std::vector<Piece>> bars) {
    cutting::Pattern pattern;
    pattern.stock = stock;
    pattern.count = static_cast<int>(bars.size());
    int used = 0;
    for (const Piece& piece : bars.front()) {
        pattern.lengths.push_back(piece.length);
        used += piece.length + 3;
    }
    std::sort(pattern.lengths.rbegin(), pattern.lengths.rend());
    pattern.offcut = std::max(stock - used, 0);
    pattern.bars = std::move(bars);
    return pattern;
}

PlanValue Value(std::vector<cutting::Pattern> patterns) {
    PlanValue value;
    value.settings.stock = patterns.front().stock;
    value.settings.kerf = 3;
    value.result.ok = true;
    value.result.plan.optimal = true;
    value.result.plan.patterns = std::move(patterns);
    return value;
}

// Two bars of 6000 with a scrap end of 491, their pieces given out of order,
// and one with pieces too short to label and 3148 to keep.
PlanValue TwoPatterns() {
    return Value({Cut(6000, {{{3, H, 1500}, {1, H, 2500}, {2, H, 1500}},
                             {{1, H, 2500}, {3, H, 1500}, {3, H, 1500}}}),
                  Cut(6000, {{{12, H, 40}, {2, H, 1000}, {1, H, 1500}, {12, H, 300}}})});
}

// Whether a text drawn between `top` and `bottom` says `what`.
bool Says(const SawSheet& sheet, double top, double bottom, const QString& what) {
    return std::any_of(sheet.texts.begin(), sheet.texts.end(), [&](const SheetText& t) {
        return t.box.top() >= top && t.box.bottom() <= bottom && t.text.contains(what);
    });
}

} // namespace

class SawSheetTest : public QObject {
    Q_OBJECT

private slots:
    void everyBarOnItsOwnWithEveryPieceLabelled_data() {
        QTest::addColumn<int>("stock");
        QTest::addColumn<QList<int>>("lengths");
        QTest::addColumn<int>("bars");
        QTest::newRow("wide pieces") << 6000 << QList<int>{1500, 2500, 1500} << 2;
        QTest::newRow("narrow pieces") << 12000 << QList<int>{40, 1500, 300, 40} << 3;
        QTest::newRow("sheets of bars") << 6000 << QList<int>{1000, 1000, 1000, 1000, 1000} << 40;
    }

    void everyBarOnItsOwnWithEveryPieceLabelled() {
        QFETCH(int, stock);
        QFETCH(QList<int>, lengths);
        QFETCH(int, bars);
        std::vector<std::vector<Piece>> cut(static_cast<size_t>(bars));
        for (auto& bar : cut)
            for (int k = 0; k < lengths.size(); ++k)
                bar.push_back({k + 1, H, lengths[k]});
        const SawSheet sheet = LayOutSawSheet(Value({Cut(stock, cut)}), QString(), QDate());
        QCOMPARE(sheet.bars.size(), cut.size());
        QVERIFY(std::is_sorted(sheet.breaks.begin(), sheet.breaks.end()));
        QVERIFY(sheet.breaks.back() <= sheet.height);
        for (const SheetBar& bar : sheet.bars) {
            for (double b : sheet.breaks)
                QVERIFY2(b <= bar.bar.top() || b >= bar.bottom, "a sheet ends inside a bar");
            QCOMPARE(bar.pieces.size(), static_cast<size_t>(lengths.size()));
            QVERIFY(std::is_sorted(
                bar.pieces.begin(), bar.pieces.end(),
                [](const auto& a, const auto& b) { return a.piece.length > b.piece.length; }));
            for (const SheetPiece& p : bar.pieces) {
                // Labelled in full on the bar, or listed under it.
                const QString label =
                    QStringLiteral("%1\n%2").arg(p.piece.length).arg(GrilleLabel(p.piece.grille));
                const bool onBar =
                    std::any_of(sheet.texts.begin(), sheet.texts.end(), [&](const SheetText& t) {
                        return t.box == p.box && t.text == label;
                    });
                QVERIFY(onBar || Says(sheet, bar.bar.bottom(), bar.bottom, PieceText(p.piece)));
                QVERIFY(bar.bar.contains(p.box));
            }
        }
    }

    void theSheetSaysWhatTheSawNeeds() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("sheet.pdf"));
        QVERIFY(
            WritePdf(file, PlanPrintJob(TwoPatterns(), QStringLiteral("123"), QDate(2026, 12, 8))));
        const QString text = PdfText(file).simplified();
        QVERIFY2(text.contains(QStringLiteral("Карта раскроя — заказ № 123, 08.12.2026")),
                 qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("рез 3 мм")));
        QVERIFY(text.contains(QStringLiteral("Настройка упора")));
        QVERIFY(
            text.contains(QStringLiteral("1500 мм — 5 шт. (реш. 1 × 1, реш. 2 × 1, реш. 3 × 3)")));
        // Each piece of the first pattern labelled on its bar, its grille under
        // its length; those of the second too short for that listed.
        QCOMPARE(text.count(QStringLiteral("2500 1500 1500 реш. 1 реш. 2 реш. 3")), 1);
        QCOMPARE(text.count(QStringLiteral("2500 1500 1500 реш. 1 реш. 3 реш. 3")), 1);
        QVERIFY(text.contains(
            QStringLiteral("Детали: 1500 (реш. 1), 1000 (реш. 2), 300 (реш. 12), 40 (реш. 12)")));
        QCOMPARE(text.count(QStringLiteral("остаток 491 мм — в отход")), 2);
        QCOMPARE(text.count(QStringLiteral("остаток 3148 мм — в запас")), 1);
    }

    void withoutAnOrderNumberTheDayAlone() {
        QCOMPARE(SheetHeading(QString(), QDate(2026, 12, 8)),
                 QStringLiteral("Карта раскроя, 08.12.2026"));
    }
};

RESHETKI_UI_TEST_MAIN(SawSheetTest)
#include "saw_sheet_test.moc"
