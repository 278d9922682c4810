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
    const int top = std::max(openingNumberSpinner_->Min(), openingNumberSpinner_->Max());
    bool inRange = false;
    try {
        inRange = model::ToIndex(BoxValue(openingNumberBox_)) <= top;
    } catch (const model::RuntimeError&) {
        inRange = false;
    }
    if (!inRange)
        openingNumberBox_->setText(NumberText(openingNumberSpinner_->Value()));
    ShowOpening();
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

void MainWindow::OnOrderNumberTyped() {
    // An empty number would name a hidden ".kxo" file.
    const bool named = !orderNumberBox_->text().isEmpty();
    openOrderButton_->setEnabled(named);
    saveOrderButton_->setEnabled(named);
}

void MainWindow::NewOrder() {
    order_.ClearTables();
    ShowGrille(1);

    // Every view shows the cleared tables; the count, the opening and grille
    // numbers as typed, the report list and the report windows stay as they
    // were. An opening number beyond the tables has nothing to show.
    bool named = true;
    try {
        model::ToIndex(BoxValue(openingNumberBox_));
    } catch (const model::RuntimeError&) {
        named = false;
    }
    if (named)
        ShowOpening();
    picture_->Clear();
    PrimeChangeDialog();
}

void MainWindow::SaveOrder() {
    try {
        const QString folder = OrdersFolder();
        const std::string path =
            orders::OrderFilePath(QFile::encodeName(folder).toStdString(),
                                  QFile::encodeName(orderNumberBox_->text()).toStdString());
        // The per-user folder may not exist yet; a failure shows in the save.
        QDir().mkpath(folder);
        orders::WriteOrderFile(path, order_);
    } catch (const orders::OrderFileError& e) {
        messenger_.Error(this, QString::fromUtf8(e.what()));
    }
}

void MainWindow::OpenOrder() {
    try {
        const std::string path =
            orders::OrderFilePath(QFile::encodeName(OrdersFolder()).toStdString(),
                                  QFile::encodeName(orderNumberBox_->text()).toStdString());
        orders::ReadOrderFile(path, order_);
    } catch (const orders::OrderFileError& e) {
        messenger_.Error(this, QString::fromUtf8(e.what()));
        return;
    }
    // The order is loaded whole. Enable its commands before the views are
    // brought up to date, so that a view that cannot show a value does not
    // keep them disabled.
    correctionButton_->setEnabled(true);
    buildReportButton_->setEnabled(true);

    const int count = order_.GrilleCount;
    const int top = std::clamp(count, 1, model::MaxOpenings);

    // Opening panel: the count spinner drives the count box, which narrows
    // the number spinner; the box is set as well in case the user had typed
    // a count the spinner did not follow.
    openingCountSpinner_->SetValueClamped(count);
    openingCountBox_->setText(NumberText(count));
    ShowCurrentOpening();

    // Grille panel, drawing and dialog: the grille spinner spans 1..count and
    // keeps the current grille inside it; then all three show that grille.
    grilleNumberSpinner_->SetMin(top);
    grilleNumberBox_->setText(NumberText(grilleNumberSpinner_->Value()));
    ShowCurrentGrille();
}
