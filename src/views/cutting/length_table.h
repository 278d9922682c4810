#pragma once

#include <QTableWidget>

#include <vector>

// A small editable table of lengths with their counts: the stock lengths or
// the offcuts on hand. An empty row is always kept at the bottom to type a
// new one into; a row whose cells are both cleared is left out.
class LengthTable : public QTableWidget {
    Q_OBJECT
public:
    struct Row {
        int length = 0;
        int count = 0;
    };

    // `what` names the table in messages; `unlimited` is the text that counts
    // as any number of bars, or empty when the table has no such rows.
    LengthTable(const QString& what, const QString& unlimited, QWidget* parent = nullptr);

    // Sets the first row and keeps the user from changing it.
    void SetFixedFirstRow(const QString& length, const QString& count);
    // Shows these rows below the fixed first row, if there is one, in place
    // of those typed; a count below 0 shows as any number of bars.
    void SetRows(const std::vector<Row>& rows);
    // The rows as typed; false with a message in Russian when one is not
    // understood. A count left empty means one offcut, or any number of bars.
    bool Read(std::vector<Row>& rows, QString& error) const;
    // The same without the fixed first row: the rows the user may change.
    bool ReadTyped(std::vector<Row>& rows, QString& error) const;

signals:
    // The user changed a cell.
    void Edited();

private:
    void KeepEmptyRowAtTheBottom();
    QString Cell(int row, int column) const;
    bool ReadFrom(int first, std::vector<Row>& rows, QString& error) const;

    QString what_;
    QString unlimited_;
    bool fixedFirstRow_ = false;
};
