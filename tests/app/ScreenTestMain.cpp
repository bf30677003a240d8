// Test entry for the choice of monitor: a headless widget application with two screens side
// by side, a laptop's and a projector's, described to the offscreen platform in a file.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QTemporaryDir dir;
    const QString config = dir.filePath("screens.json");
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly) || file.write(R"({ "screens": [
  { "name": "LAPTOP", "x": 0, "y": 0, "width": 1280, "height": 800,
    "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 },
  { "name": "PROJECTOR", "x": 1280, "y": 0, "width": 1024, "height": 768,
    "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 } ] })") < 0) {
        return 2;
    }
    file.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toLocal8Bit());
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
