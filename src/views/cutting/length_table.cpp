#include "length_table.h"

#include "widgets/controls.h"

#include <QHeaderView>

LengthTable::LengthTable(const QString& what, const QString& unlimited, QWidget* parent)
    : QTableWidget(0, 2, parent), what_(what), unlimited_(unlimited) {
    setHorizontalHeaderLabels({QStringLiteral("Длина, мм"), QStringLiteral("Количество")});
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    KeepEmptyRowAtTheBottom();
    connect(this, &QTableWidget::itemChanged, this, [this] {
        KeepEmptyRowAtTheBottom();
        emit Edited();
    });
}

void LengthTable::SetFixedFirstRow(const QString& length, const QString& count) {
    const QSignalBlocker quiet(this);
    for (int column = 0; column < 2; ++column) {
        auto* item = new QTableWidgetItem(column == 0 ? length : count);
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        setItem(0, column, item);
    }
    fixedFirstRow_ = true;
    KeepEmptyRowAtTheBottom();
}

void LengthTable::SetRows(const std::vector<Row>& rows) {
    const QSignalBlocker quiet(this);
    const int first = fixedFirstRow_ ? 1 : 0;
    setRowCount(first + static_cast<int>(rows.size()));
    for (size_t k = 0; k < rows.size(); ++k) {
        const int r = first + static_cast<int>(k);
        const QString count = rows[k].count < 0 ? unlimited_ : QString::number(rows[k].count);
        setItem(r, 0, new QTableWidgetItem(QString::number(rows[k].length)));
        setItem(r, 1, new QTableWidgetItem(count));
    }
    KeepEmptyRowAtTheBottom();
}

QString LengthTable::Cell(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text().trimmed() : QString();
}

void LengthTable::KeepEmptyRowAtTheBottom() {
    const QSignalBlocker quiet(this);
    const int last = rowCount() - 1;
    if (last < 0 || !Cell(last, 0).isEmpty() || !Cell(last, 1).isEmpty())
        insertRow(rowCount());
}

bool LengthTable::Read(std::vector<Row>& rows, QString& error) const {
    return ReadFrom(0, rows, error);
}

bool LengthTable::ReadTyped(std::vector<Row>& rows, QString& error) const {
    return ReadFrom(fixedFirstRow_ ? 1 : 0, rows, error);
}

bool LengthTable::ReadFrom(int first, std::vector<Row>& rows, QString& error) const {
    rows.clear();
    for (int r = first; r < rowCount(); ++r) {
        const QString length = Cell(r, 0);
        const QString count = Cell(r, 1);
        if (length.isEmpty() && count.isEmpty())
            continue;
        Row row;
        row.length = WholeNumber(length, 1);
        if (row.length < 0) {
            error = QStringLiteral("%1, строка %2: длина «%3» должна быть целым положительным "
                                   "числом миллиметров.")
                        .arg(what_)
                        .arg(r + 1)
                        .arg(length);
            return false;
        }
        const bool any = !unlimited_.isEmpty() &&
                         (count.isEmpty() || count.compare(unlimited_, Qt::CaseInsensitive) == 0);
        row.count = any ? -1 : count.isEmpty() ? 1 : WholeNumber(count, 1);
        if (row.count < 0 && !any) {
            error = QStringLiteral("%1, строка %2: количество «%3» должно быть целым "
                                   "положительным числом%4.")
                        .arg(what_)
                        .arg(r + 1)
                        .arg(count)
                        .arg(unlimited_.isEmpty() ? QString()
                                                  : QStringLiteral(" или «%1»").arg(unlimited_));
            return false;
        }
        rows.push_back(row);
    }
    return true;
}
