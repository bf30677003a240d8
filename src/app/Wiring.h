// How the presentation window and the Draw tool are joined at start-up.
#pragma once

class QWidget;

namespace koyomi::tools {
class TForm2;
class TForm4;
} // namespace koyomi::tools

namespace koyomi::app {

class TForm1;

// The Draw tool's pages become the presentation window's renderers, and the window's menu,
// hot corner and background change reach the Draw tool.
void connectDrawTool(TForm1& form1, tools::TForm2& form2);

// The Paint tool opens from the presentation window's menu and corner, and its "ReDraw"
// redraws the current figure (for the picture, the next one of the list).
void connectPaintTool(TForm1& form1, tools::TForm2& form2, tools::TForm4& form4);

// Shows a tool window above the presentation window, whatever state that window is in.
void showToolWindow(QWidget& presentation, QWidget& tool);

} // namespace koyomi::app
