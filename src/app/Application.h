// The application object: an error that escapes an event handler is shown, and the program
// goes on.
#pragma once

#include <QApplication>

namespace koyomi::app {

class Application : public QApplication
{
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace koyomi::app
