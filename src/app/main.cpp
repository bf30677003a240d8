// Koyomiplan: the presentation window first, then the tool windows that read its settings.
#include "app/Application.h"
#include "app/TForm1.h"
#include "app/Wiring.h"
#include "render/Canvas.h"
#include "state/AppState.h"
#include "tools/TForm2.h"
#include "tools/TForm4.h"

#include <QStringList>
#include <QTimer>

#include <memory>
#include <utility>

int main(int argc, char** argv)
{
    using namespace koyomi;
    app::Application application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Koyomiplan"));
    render::installFontSubstitution();

    state::AppState state = state::AppState::fromEnvironment();
    // A message raised while the windows are made (a library that cannot be read at all)
    // waits until the presentation window is up: the window is shown once, and the message
    // over it.
    QStringList startMessages;
    const auto showMessage =
        std::exchange(state.showError,
                      [&startMessages](const QString& message) { startMessages.append(message); });
    // The presentation window first, with its figure drawn at the figure's defaults; the
    // tool windows, whose pages take a while to make, once it is on the screen.
    app::TForm1 form1(state);
    form1.show();
    std::unique_ptr<tools::TForm2> form2;
    std::unique_ptr<tools::TForm4> form4;
    QTimer::singleShot(0, &form1, [&] {
        form2 = std::make_unique<tools::TForm2>(state, form1);
        app::connectDrawTool(form1, *form2);
        form4 = std::make_unique<tools::TForm4>(state, form1.annotation());
        app::connectPaintTool(form1, *form2, *form4);
        form1.redraw(); // now from the page, which holds the same defaults
        state.showError = showMessage;
        for (const QString& message : std::exchange(startMessages, {})) {
            showMessage(message);
        }
    });
    return application.exec();
}
