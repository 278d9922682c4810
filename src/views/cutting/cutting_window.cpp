#include "cutting_window.h"

#include "model/numbers.h"
#include "printing/page_printer.h"
#include "widgets/controls.h"
#include "widgets/messenger.h"
#include "widgets/twips.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>

#include <cmath>

namespace {

// Bars a piece picture is drawn to scale in: pieces in turn, the offcut
// hatched, each piece labelled with its length where there is room.
void PaintBar(QPainter& p, const QRectF& r, const cutting::Pattern& pattern, int stock, int kerf) {
    p.save();
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
    const double scale = r.width() / stock;
    double x = r.left();
    for (int length : pattern.lengths) {
        const QRectF piece(x, r.top(), length * scale, r.height());
        p.fillRect(piece, QColor(200, 220, 240));
        p.drawRect(piece);
        const QString text = QString::number(length);
        if (p.fontMetrics().horizontalAdvance(text) < piece.width())
            p.drawText(piece, Qt::AlignCenter, text);
        x += (length + kerf) * scale;
    }
    if (x < r.right())
        p.fillRect(QRectF(x, r.top(), r.right() - x, r.height()),
                   QBrush(Qt::gray, Qt::BDiagPattern));
    p.restore();
}

// A cell that draws one way of cutting a bar.
class BarPicture : public QWidget {
public:
    BarPicture(const cutting::Pattern& pattern, int stock, int kerf)
        : pattern_(pattern), stock_(stock), kerf_(kerf) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        PaintBar(p, QRectF(rect()).adjusted(2, 3, -3, -4), pattern_, stock_, kerf_);
    }

private:
    cutting::Pattern pattern_;
    int stock_;
    int kerf_;
};

QString Lengths(const cutting::Pattern& p) {
    QStringList parts;
    for (size_t k = 0; k < p.lengths.size();) {
        size_t same = k;
        while (same < p.lengths.size() && p.lengths[same] == p.lengths[k])
            ++same;
        const auto n = static_cast<int>(same - k);
        parts << (n > 1 ? QStringLiteral("%1 × %2").arg(p.lengths[k]).arg(n)
                        : QString::number(p.lengths[k]));
        k = same;
    }
    return parts.join(QStringLiteral(" + "));
}

QString Grilles(const cutting::Pattern& p) {
    std::vector<int> seen;
    for (const auto& bar : p.bars)
        for (const cutting::Piece& piece : bar)
            if (std::find(seen.begin(), seen.end(), piece.grille) == seen.end())
                seen.push_back(piece.grille);
    std::sort(seen.begin(), seen.end());
    QStringList parts;
    for (int g : seen)
        parts << QString::number(g);
    return parts.join(QStringLiteral(", "));
}

// A whole number of millimetres, or -1.
int Millimetres(const QString& text) {
    const double v = model::ParseNumber(text.toStdString());
    if (!std::isfinite(v) || v != std::floor(v) || v < 0 || v > 1e9)
        return -1;
    return static_cast<int>(v);
}

constexpr double PageWidth = 11000; // twips, the printable width of A4 with margins
constexpr double LineHeight = 300;
constexpr double BarHeight = 360;

} // namespace

CuttingWindow::CuttingWindow(Messenger& messenger)
    : QWidget(nullptr, Qt::Tool), messenger_(messenger) {
    setObjectName(QStringLiteral("frmCutting"));
    setWindowTitle(QStringLiteral("Раскрой"));
    resize(Px(11400), Px(7200));
    auto label = [this](const char* name, const char* text, int left, int top) {
        QLabel* l = MakeLabel(this, name, text);
        PlaceAt(l, left, top);
        return l;
    };
    auto box = [this](const char* name, const char* text, QLabel* caption, int left) {
        QLineEdit* e = MakeBox(this, name, text, caption);
        Place(e, left, 120, 975, 285);
        return e;
    };
    txtStock = box("txtStock", "", label("lblStock", "Длина плети, мм", 120, 150), 2160);
    txtStock->setReadOnly(true);
    txtKerf = box("txtKerf", "3", label("lblKerf", "Ширина реза, мм", 3360, 150), 5400);
    txtTrim = box("txtTrim", "0", label("lblTrim", "Обрезка торца, мм", 6600, 150), 8640);
    cmdCalculate = MakeButton(this, "cmdCalculate", "Пересчитать");
    Place(cmdCalculate, 9720, 75, 1560, 375);

    tblPlan = Named(new QTableWidget(0, 5, this), "tblPlan");
    tblPlan->setHorizontalHeaderLabels({QStringLiteral("Плетей"), QStringLiteral("Раскрой, мм"),
                                        QStringLiteral("Остаток, мм"), QStringLiteral("Решетки"),
                                        QStringLiteral("Схема")});
    tblPlan->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblPlan->verticalHeader()->hide();
    // The texts take their own width, the picture of each pattern the rest;
    // the header keeps this up whether or not the window is shown.
    tblPlan->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tblPlan->horizontalHeader()->setSectionResizeMode(4, QHeaderView::Stretch);
    Place(tblPlan, 120, 600, 11160, 5400);

    lblTotals = label("lblTotals", "", 120, 6120);
    lblStatus = label("lblStatus", "", 120, 6420);
    cmdPrint = MakeButton(this, "cmdPrint", "Печать");
    cmdPrint->setEnabled(false);
    Place(cmdPrint, 9720, 6660, 1560, 375);

    connect(cmdCalculate, &QPushButton::clicked, this, [this] { cmdCalculate_Click(); });
    connect(cmdPrint, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });
}

void CuttingWindow::Plan(const std::vector<cutting::CutItem>& items, const QString& stockText) {
    items_ = items;
    txtStock->setText(stockText.trimmed());
    cmdCalculate_Click();
}

void CuttingWindow::cmdCalculate_Click() {
    const int stock = Millimetres(txtStock->text());
    const int kerf = Millimetres(txtKerf->text());
    const int trim = Millimetres(txtTrim->text());
    QString error;
    if (stock <= 0)
        error = QStringLiteral("Длина плети «%1» должна быть целым положительным числом "
                               "миллиметров.")
                    .arg(txtStock->text());
    else if (kerf < 0)
        error = QStringLiteral("Ширина реза «%1» должна быть целым неотрицательным числом "
                               "миллиметров.")
                    .arg(txtKerf->text());
    else if (trim < 0)
        error = QStringLiteral("Обрезка торца «%1» должна быть целым неотрицательным числом "
                               "миллиметров.")
                    .arg(txtTrim->text());
    cutting::Result result;
    if (error.isEmpty()) {
        cutting::Settings s;
        s.stock = stock;
        s.kerf = kerf;
        s.trim = trim;
        result = cutting::PlanCutting(items_, s);
        if (!result.ok)
            error = QString::fromStdString(result.error);
    }
    if (!error.isEmpty()) {
        ClearPlan(QStringLiteral("Раскрой не рассчитан."));
        messenger_.Error(this, error);
        return;
    }
    stock_ = stock;
    plan_ = std::move(result.plan);
    hasPlan_ = true;
    ShowPlan();
}

void CuttingWindow::ClearPlan(const QString& status) {
    hasPlan_ = false;
    plan_ = {};
    tblPlan->setRowCount(0);
    lblTotals->clear();
    lblStatus->setText(status);
    lblStatus->adjustSize();
    cmdPrint->setEnabled(false);
}

void CuttingWindow::ShowPlan() {
    tblPlan->setRowCount(static_cast<int>(plan_.patterns.size()));
    const int kerf = Millimetres(txtKerf->text());
    for (int row = 0; row < tblPlan->rowCount(); ++row) {
        const cutting::Pattern& p = plan_.patterns[static_cast<size_t>(row)];
        const QStringList cells = {QString::number(p.count), Lengths(p), QString::number(p.offcut),
                                   Grilles(p)};
        for (int c = 0; c < cells.size(); ++c)
            tblPlan->setItem(row, c, new QTableWidgetItem(cells[c]));
        tblPlan->setCellWidget(row, 4, new BarPicture(p, stock_, kerf));
    }
    lblTotals->setText(QStringLiteral("Плетей: %1, общая длина %2 мм, отход %3 %")
                           .arg(plan_.bars)
                           .arg(plan_.boughtLength)
                           .arg(plan_.wastePercent, 0, 'f', 1));
    lblTotals->adjustSize();
    lblStatus->setText(plan_.optimal
                           ? QStringLiteral("оптимально")
                           : QStringLiteral("не доказано: нижняя граница %1, разница %2 плет.")
                                 .arg(plan_.lowerBound)
                                 .arg(plan_.bars - plan_.lowerBound));
    lblStatus->adjustSize();
    cmdPrint->setEnabled(true);
}

void CuttingWindow::cmdPrint_Click() {
    if (!hasPlan_)
        return;
    const cutting::Plan plan = plan_;
    const int stock = stock_;
    const int kerf = Millimetres(txtKerf->text());
    const QString header = QStringLiteral("Раскрой плетей длиной %1 мм (рез %2 мм, обрезка %3 мм)")
                               .arg(stock)
                               .arg(kerf)
                               .arg(txtTrim->text());
    const QString totals = lblTotals->text() + QStringLiteral("; ") + lblStatus->text();
    PrintJob job;
    job.title = QStringLiteral("Раскрой");
    job.suggestedFileName = QStringLiteral("Раскрой.pdf");
    const double rowHeight = 2 * LineHeight + BarHeight + 120;
    const double height = 3 * LineHeight + rowHeight * static_cast<double>(plan.patterns.size());
    job.size = QSizeF(PageWidth, height);
    for (size_t k = 1; k <= plan.patterns.size(); ++k)
        job.breaks.push_back(3 * LineHeight + rowHeight * static_cast<double>(k));
    job.paint = [=](QPainter& p, const QRectF&) {
        // The page is painted in twips: the font's size must be given in
        // painter units, not in points that the device would scale again.
        QFont font(QStringLiteral("Arial"));
        font.setPointSizeF(9);
        p.setFont(FontInTwips(font));
        p.drawText(QPointF(0, LineHeight), header);
        p.drawText(QPointF(0, 2 * LineHeight), totals);
        double y = 3 * LineHeight;
        for (const cutting::Pattern& pattern : plan.patterns) {
            p.drawText(QPointF(0, y + LineHeight), QStringLiteral("%1 плет.: %2, остаток %3 мм")
                                                       .arg(pattern.count)
                                                       .arg(Lengths(pattern))
                                                       .arg(pattern.offcut));
            p.drawText(QPointF(0, y + 2 * LineHeight),
                       QStringLiteral("Решетки: %1").arg(Grilles(pattern)));
            PaintBar(p, QRectF(0, y + 2 * LineHeight + 60, PageWidth, BarHeight), pattern, stock,
                     kerf);
            y += rowHeight;
        }
    };
    PrintOrSavePdf(this, messenger_, job);
}
