// The command's baseline: a minimal Qt Gui program that draws a text into an image and saves
// it, to which koyomiplan-render drawing a default figure is compared (scripts/startup.sh).
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        return 2;
    }
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter p(&image);
        p.setPen(Qt::white);
        p.drawText(4, 20, QStringLiteral("方眼"));
    }
    return image.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
