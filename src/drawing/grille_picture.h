#pragma once

#include <QFrame>

// The picture box into which the current grille is drawn.
class GrillePicture : public QFrame {
    Q_OBJECT
public:
    explicit GrillePicture(QWidget* parent = nullptr);
};
