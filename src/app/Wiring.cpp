#include "app/Wiring.h"

#include "app/TForm1.h"
#include "figures/Figures.h"
#include "tools/TForm2.h"
#include "tools/TForm4.h"

#include <QWindow>

namespace koyomi::app {

void showToolWindow(QWidget& presentation, QWidget& tool)
{
    // A tool window is transient for the presentation window, so that the window manager
    // keeps it above that window in every state, full screen included; then it is shown on
    // top and takes the keyboard.
    tool.winId();
    presentation.winId();
    if (QWindow* window = tool.windowHandle()) {
        window->setTransientParent(presentation.windowHandle());
    }
    tool.show();
    tool.raise();
    tool.activateWindow();
}

void connectDrawTool(TForm1& form1, tools::TForm2& form2)
{
    for (widgets::FigurePage* page : form2.pages()) {
        if (page->hasFigure()) {
            form1.setRenderer(page->kind(),
                              [page](render::Canvas& canvas, const render::Frame& frame) {
                                  page->render(canvas, frame);
                              });
        }
    }
    ToolSeams& tools = form1.tools();
    tools.showDrawTool = [&form1, &form2] { showToolWindow(form1, form2); };
    tools.saveWorksheet = [&form2] { form2.saveCurrentAsWorksheet(); };
    tools.colorInit = [&form2](bool white) { form2.ColorInit(white); };
    tools.stepPreset = [&form2](int delta) { form2.stepPreset(delta); };
    tools.advancePicture = [&form2] {
        if (form2.advancePicture) {
            form2.advancePicture();
        }
    };
    tools.reloadPicture = [&form2] {
        if (form2.reloadPicture) {
            form2.reloadPicture();
        }
    };
}

void connectPaintTool(TForm1& form1, tools::TForm2& form2, tools::TForm4& form4)
{
    form1.tools().showPaintTool = [&form1, &form4] { showToolWindow(form1, form4); };
    form4.redrawFigure = [&form1, &form2] {
        if (figures::showsAFile(form1.state().FigureKind)) {
            if (form2.loadPictureAndAdvance) {
                form2.loadPictureAndAdvance();
            }
        } else {
            form1.redraw();
        }
    };
}

} // namespace koyomi::app
