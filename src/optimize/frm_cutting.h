#pragma once

#include <QWidget>

// The cutting plan window.
class FrmCutting : public QWidget {
    Q_OBJECT
public:
    FrmCutting();
};
