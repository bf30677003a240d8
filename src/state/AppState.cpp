#include "state/AppState.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

namespace koyomi::state {

AppState AppState::fromEnvironment()
{
    AppState state;
    state.configFolder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    state.executableName = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    state.showError = [](const QString& message) {
        QMessageBox::critical(nullptr, QStringLiteral("Koyomiplan"), message);
    };
    return state;
}

} // namespace koyomi::state
