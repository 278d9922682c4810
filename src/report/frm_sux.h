#pragma once

#include <QWidget>

// The material window with the cut lists.
class FrmSux : public QWidget {
    Q_OBJECT
public:
    FrmSux();
};
