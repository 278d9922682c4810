// The order frame: "Новый", "Открыть" and "Сохранить" with the order file
// named after the order number.

#include "main_window.h"

#include "model/errors.h"
#include "model/numbers.h"
#include "orders/order_file.h"
#include "views/picture/grille_picture.h"
#include "widgets/controls.h"
#include "widgets/messenger.h"
#include "widgets/spinner.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <algorithm>
#include <string>

namespace {

// Whether a file can be created in the folder: tried rather than judged from
// permission bits, which say nothing about read-only mounts.
bool CanCreateFilesIn(const QString& folder) {
    QTemporaryFile probe(folder + QStringLiteral("/.reshetki-XXXXXX"));
    return probe.open();
}

} // namespace

void MainWindow::ShowCurrentOpening() {
    // A number typed outside the spinner's range (or beyond the tables) gives
    // way to the spinner's own value.
    const int top = std::max(vsrNumber->Min(), vsrNumber->Max());
    bool inRange = false;
    try {
        inRange = model::ToIndex(BoxValue(txtNumber)) <= top;
    } catch (const model::RuntimeError&) {
        inRange = false;
    }
    if (!inRange)
        txtNumber->setText(NumberText(vsrNumber->Value()));
    txtNumber_Change();
}

QString MainWindow::OrdersFolder() {
    if (ordersFolder_.isEmpty()) {
        const QString own = programFolder_;
        const QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        // Without a home folder there is no per-user folder either; the own
        // folder then stays, and a save into it reports why it failed.
        ordersFolder_ = CanCreateFilesIn(own) || user.isEmpty() ? own : user;
    }
    return ordersFolder_;
}

void MainWindow::txtONumber_Change() {
    // An empty number would name a hidden ".kxo" file.
    const bool named = !txtONumber->text().isEmpty();
    cmdOOpen->setEnabled(named);
    cmdOSave->setEnabled(named);
}

void MainWindow::cmdONew_Click() {
    order_.ClearTables();
    SetGratingInfo(1);

    // Every view shows the cleared tables; the count, the opening and grille
    // numbers as typed, the report list and the report windows stay as they
    // were. An opening number beyond the tables has nothing to show.
    bool named = true;
    try {
        model::ToIndex(BoxValue(txtNumber));
    } catch (const model::RuntimeError&) {
        named = false;
    }
    if (named)
        txtNumber_Change();
    Picture1->Clear();
    PrimeChangeDialog();
}

void MainWindow::cmdOSave_Click() {
    try {
        const QString folder = OrdersFolder();
        const std::string path =
            orders::OrderFilePath(QFile::encodeName(folder).toStdString(),
                                  QFile::encodeName(txtONumber->text()).toStdString());
        // The per-user folder may not exist yet; a failure shows in the save.
        QDir().mkpath(folder);
        orders::WriteOrderFile(path, order_);
    } catch (const orders::OrderFileError& e) {
        messenger_.Error(this, QString::fromUtf8(e.what()));
    }
}

void MainWindow::cmdOOpen_Click() {
    try {
        const std::string path =
            orders::OrderFilePath(QFile::encodeName(OrdersFolder()).toStdString(),
                                  QFile::encodeName(txtONumber->text()).toStdString());
        orders::ReadOrderFile(path, order_);
    } catch (const orders::OrderFileError& e) {
        messenger_.Error(this, QString::fromUtf8(e.what()));
        return;
    }
    // The order is loaded whole. Enable its commands before the views are
    // brought up to date, so that a view that cannot show a value does not
    // keep them disabled.
    cmdChange->setEnabled(true);
    cmdCreate->setEnabled(true);

    const int count = order_.GrilleCount;
    const int top = std::clamp(count, 1, model::MaxOpenings);

    // Opening panel: the count spinner drives the count box, which narrows
    // the number spinner; the box is set as well in case the user had typed
    // a count the spinner did not follow.
    vsrCount->SetValueClamped(count);
    txtCount->setText(NumberText(count));
    ShowCurrentOpening();

    // Grille panel, drawing and dialog: the grille spinner spans 1..count and
    // keeps the current grille inside it; then all three show that grille.
    vsrPNumber->SetMin(top);
    txtPNumber->setText(NumberText(vsrPNumber->Value()));
    txtPNumber_Change();
}
