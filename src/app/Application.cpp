#include "app/Application.h"

#include <QMessageBox>

namespace koyomi::app {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QStringLiteral("Koyomiplan"), QString::fromUtf8(e.what()));
    } catch (...) {
        QMessageBox::critical(nullptr, QStringLiteral("Koyomiplan"),
                              QStringLiteral("予期しないエラーが発生しました。"));
    }
    return false;
}

} // namespace koyomi::app
