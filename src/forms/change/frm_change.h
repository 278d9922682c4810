#pragma once

#include <QWidget>

class FrmMain;

// The correction dialog.
class FrmChange : public QWidget {
    Q_OBJECT
public:
    explicit FrmChange(FrmMain& main);
};
