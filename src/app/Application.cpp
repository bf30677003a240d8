#include "app/Application.h"

#include <QMessageBox>

namespace koyomi::app {

Application::Application(int& argc, char** argv)
    : QApplication(argc, argv), showError([](const QString& message) {
          QMessageBox::critical(nullptr, QStringLiteral("Koyomiplan"), message);
      })
{
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
    } catch (...) {
        showError(QStringLiteral("予期しないエラーが発生しました。"));
    }
    return false;
}

} // namespace koyomi::app
