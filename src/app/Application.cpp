#include "app/Application.h"

#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

namespace koyomi::app {

Application::Application(int& argc, char** argv)
    : QApplication(argc, argv), showError([](const QString& message) {
          QMessageBox::critical(nullptr, QStringLiteral("Koyomiplan"), message);
      })
{
    // Qt's own texts (the buttons of message boxes, the file dialog) in Japanese, like the
    // rest of the program, whatever the desktop's language.
    auto* qtTexts = new QTranslator(this);
    if (qtTexts->load(QStringLiteral("qtbase_ja"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        installTranslator(qtTexts);
    }
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
