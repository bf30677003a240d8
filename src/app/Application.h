// The application object: an error that escapes an event handler is shown, and the program
// goes on.
#pragma once

#include <QApplication>

#include <functional>

namespace koyomi::app {

class Application : public QApplication
{
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // How an escaped error is shown; the standard error box unless replaced.
    std::function<void(const QString&)> showError;
};

} // namespace koyomi::app
