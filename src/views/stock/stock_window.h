#pragma once

#include <QString>
#include <QWidget>

class Messenger;
class QComboBox;
class QTableWidget;

namespace stock {
class StockStore;
}

// The window "Склад": the bar sizes the store holds, the stock lengths and
// offcuts on hand of the one selected, and the journal of every change to
// any of them, newest first. It only shows the store; what changes it (the
// cutting window's write-off, an edit) calls Refresh afterwards.
class StockWindow : public QWidget {
    Q_OBJECT
public:
    StockWindow(stock::StockStore& store, Messenger& messenger);

    // Reads the bar sizes, the selected size's store and the journal again.
    // A refused read is told once and leaves its tables empty.
    void Refresh();
    // Selects the bar size, listing it also when the store holds nothing of it.
    void ShowBarSize(int barSize);

private:
    // Handler.
    void ShowSelectedSize();

    // Each answers the store's refusal, or "" when the read went through.
    QString ListBarSizes();
    QString ShowStock();
    QString ShowJournal();

    stock::StockStore& store_;
    Messenger& messenger_;
    int barSize_ = 0; // the size selected, 0 before the store holds any

    QComboBox* barSizeBox_;
    QTableWidget* stockTable_;
    QTableWidget* offcutTable_;
    QTableWidget* journalTable_;
};
