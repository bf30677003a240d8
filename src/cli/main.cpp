// koyomiplan-render: a figure or preset to a PNG, JPEG or PPM file, without a window.
#include "cli/RenderCommand.h"
#include "render/Canvas.h"

#include <QGuiApplication>

#include <cstdio>

namespace {

// Only the command's own error line belongs on stderr: Qt's notices about its environment
// are dropped, its real failures kept.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
    }
}

} // namespace

int main(int argc, char** argv)
{
    qInstallMessageHandler(quietMessages);
    // No window is shown: no display is needed. Records are read by the drawing core, so a
    // Qt Gui application is all the command needs.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    koyomi::render::installFontSubstitution();
    QTextStream out(stdout);
    QTextStream err(stderr);
    // File names stay the bytes they were given as: a name that is not UTF-8 must not become
    // another name on the way through Qt's strings.
    QByteArrayList args;
    for (int i = 1; i < argc; ++i) {
        args.append(QByteArray(argv[i]));
    }
    const int code = koyomi::cli::runRenderCommand(args, out, err);
    out.flush();
    err.flush();
    return code;
}
