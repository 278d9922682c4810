#pragma once

#include <QWidget>

// The report page: never shown, printed.
class FrmReport : public QWidget {
    Q_OBJECT
public:
    FrmReport();
};
