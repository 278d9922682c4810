#pragma once

// One running program for the main window's tests: an order, a messenger
// that records what the user would be told, and the main window.

#include "drawing/grille_geometry.h"
#include "main_window/main_window.h"
#include "model/order.h"
#include "testsupport/order_fixtures.h"
#include "testsupport/ui_test_support.h"
#include "views/correction/correction_dialog.h"
#include "views/picture/grille_picture.h"
#include "widgets/spinner.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

struct Program {
    model::Order order;
    RecordingMessenger messenger;
    MainWindow main{order, messenger};
    // The bar store in a folder of the test's own.
    QTemporaryDir folder;
    Program() { main.SetStockFile(folder.filePath(QStringLiteral("stock.sqlite"))); }

    // Types the five dimensions of opening i, as the user would.
    void Opening(int i, int width, int height, int top = 0, int bottom = 0, int side = 0) {
        Find<QLineEdit>(main, "txtNumber")->setText(QString::number(i));
        Find<QLineEdit>(main, "txtWidth")->setText(QString::number(width));
        Find<QLineEdit>(main, "txtHeight")->setText(QString::number(height));
        Find<QLineEdit>(main, "txtZTop")->setText(QString::number(top));
        Find<QLineEdit>(main, "txtZDown")->setText(QString::number(bottom));
        Find<QLineEdit>(main, "txtZLeft")->setText(QString::number(side));
    }

    // Types the count and presses "ОК".
    void Calculate(int count) {
        Find<QLineEdit>(main, "txtCount")->setText(QString::number(count));
        Find<QPushButton>(main, "cmdOK")->click();
    }

    CorrectionDialog& Dialog() { return main.Correction(); }

    // What the grille panel shows (width, height, step, step count, inserts)
    // and the correction dialog (step, side gap).
    QStringList Panel() {
        return {Find<QLineEdit>(main, "txtPWidth")->text(),
                Find<QLineEdit>(main, "txtPHeight")->text(),
                Find<QLineEdit>(main, "txtPStep")->text(),
                Find<QLineEdit>(main, "txtPStepCount")->text(),
                Find<QLineEdit>(main, "txtPAdd")->text(),
                Find<QLineEdit>(Dialog(), "txtNewStep")->text(),
                Find<QLineEdit>(Dialog(), "txtNewZLeft")->text()};
    }
    // The same for grille i as the order holds it.
    QStringList Holds(int i) const {
        const model::Grille& g = order.GrilleAt(i);
        return {QString::number(g.B),
                QString::number(g.H),
                QString::number(g.t),
                QString::number(g.n),
                QString::number(g.b),
                QString::number(g.t),
                QString::number(order.OpeningAt(i).SideGap)};
    }
    static bool Red(const QLineEdit* box) {
        return box->palette().color(QPalette::Text) == QColor(Qt::red);
    }
    // The bars the picture should hold for grille i.
    std::vector<drawing::Bar> Planned(int i) const {
        return drawing::PlanGrille(order, i,
                                   Find<GrillePicture>(main, "Picture1")->OuterWidthTwips(),
                                   Find<GrillePicture>(main, "Picture1")->OuterHeightTwips())
            .bars;
    }
};
