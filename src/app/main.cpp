#include "main_window/main_window.h"
#include "model/order.h"
#include "widgets/look.h"
#include "widgets/messenger.h"

#include <QApplication>
#include <QMessageBox>

#include <exception>

namespace {

// Backs up the handlers' own boundaries: no exception may leave an event
// handler, since Qt would end the event loop and the order would be lost.
class Application : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            QMessageBox::critical(
                nullptr, QStringLiteral("Ошибка"),
                QStringLiteral("Внутренняя ошибка: %1").arg(QString::fromUtf8(e.what())));
        } catch (...) {
            QMessageBox::critical(nullptr, QStringLiteral("Ошибка"),
                                  QStringLiteral("Внутренняя ошибка."));
        }
        return false;
    }
};

} // namespace

int main(int argc, char* argv[]) {
    Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("reshetki"));
    QApplication::setDesktopFileName(QStringLiteral("reshetki"));
    ApplyProgramLook();

    model::Order order;
    MessageBoxMessenger messenger;
    MainWindow window(order, messenger);
    window.show();
    return QApplication::exec();
}
