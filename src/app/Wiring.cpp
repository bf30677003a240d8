#include "app/Wiring.h"

#include "app/TForm1.h"
#include "tools/TForm2.h"

namespace koyomi::app {

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
    tools.showDrawTool = [&form2] {
        form2.show();
        form2.raise();
    };
    tools.colorInit = [&form2](bool white) { form2.ColorInit(white); };
    tools.stepPreset = [&form2](int delta) { form2.stepPreset(delta); };
    tools.advancePicture = [&form2] {
        if (form2.advancePicture) {
            form2.advancePicture();
        }
    };
}

} // namespace koyomi::app
