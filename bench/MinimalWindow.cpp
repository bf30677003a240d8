// The start-up baseline: a minimal Qt main window, as small a program as shows a window, to
// which the presentation window's time from launch to visible is compared (scripts/startup.sh).
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.resize(800, 570);
    window.show();
    return app.exec();
}
