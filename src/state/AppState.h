// The values the program's windows share: current figure, background, file locations.
#pragma once

#include <QString>

#include <functional>

namespace koyomi::state {

struct AppState
{
    int FigureKind = 0;   // 0..8, the Draw tool's page index
    bool BWflag = false;  // background: false black, true white
    QString SettingsBase; // settings path without its last ".ini"; also the section name
    int PictureIndex = 0; // picture shown by the picture figure
    QString PicturePath = QStringLiteral("NoName.jpg");

    // Where the settings file lives, and the executable's file name it is named after.
    QString configFolder;
    QString executableName;
    // Where the preset library is read from and written to; empty, no library file (the
    // headless tools).
    QString libraryReadPath;
    QString libraryWritePath;

    // Shows an error to the teacher; the default is the standard error box.
    std::function<void(const QString&)> showError;

    // Tells the teacher that the settings file could not be written, and why. Every window
    // writes its own keys as the program ends, so only the first failure of a run is shown.
    void reportSettingsError(const QString& path, const QString& reason);
    bool settingsErrorShown = false;

    // The real locations: the user's configuration folder and this executable.
    static AppState fromEnvironment();
};

} // namespace koyomi::state
