// Koyomiplan: the presentation window first, then the tool windows that read its settings.
#include "app/AppState.h"
#include "app/Application.h"
#include "app/TForm1.h"
#include "figures/GraphPaper.h"
#include "render/Canvas.h"

int main(int argc, char** argv)
{
    koyomi::app::Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Koyomiplan"));
    koyomi::render::installFontSubstitution();

    koyomi::app::AppState state = koyomi::app::AppState::fromEnvironment();
    koyomi::app::TForm1 form1(state);
    // Until the Draw tool's pages exist, graph paper is drawn from its defaults.
    form1.setRenderer(koyomi::figures::kGraphPaperKind, [](koyomi::render::Canvas& canvas,
                                                           const koyomi::render::Frame& frame) {
        koyomi::figures::drawGraphPaper(
            canvas, koyomi::figures::GraphPaperParams::defaults(frame.whiteBackground), frame);
    });
    form1.show();
    return app.exec();
}
