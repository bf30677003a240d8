// Koyomiplan: the presentation window first, then the tool windows that read its settings.
#include "app/Application.h"
#include "app/TForm1.h"
#include "app/Wiring.h"
#include "render/Canvas.h"
#include "state/AppState.h"
#include "tools/TForm2.h"
#include "tools/TForm4.h"

int main(int argc, char** argv)
{
    using namespace koyomi;
    app::Application application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Koyomiplan"));
    render::installFontSubstitution();

    state::AppState state = state::AppState::fromEnvironment();
    app::TForm1 form1(state);
    tools::TForm2 form2(state, form1);
    app::connectDrawTool(form1, form2);
    tools::TForm4 form4(state, form1.annotation());
    app::connectPaintTool(form1, form2, form4);

    form1.show();
    return application.exec();
}
