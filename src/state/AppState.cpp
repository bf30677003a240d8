#include "state/AppState.h"

#include "state/LibraryFile.h"

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
    const LibraryLocation library =
        libraryLocation(QCoreApplication::applicationDirPath(),
                        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    state.libraryReadPath = library.readPath;
    state.libraryWritePath = library.writePath;
    state.showError = [](const QString& message) {
        QMessageBox::critical(nullptr, QStringLiteral("Koyomiplan"), message);
    };
    return state;
}

void AppState::reportSettingsError(const QString& path, const QString& reason)
{
    if (settingsErrorShown || !showError) {
        return;
    }
    settingsErrorShown = true;
    showError(QStringLiteral("設定ファイル「%1」に書き込めませんでした。\n%2").arg(path, reason));
}

} // namespace koyomi::state
