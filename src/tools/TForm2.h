// The Draw tool: the floating window whose pages hold every figure's settings.
#pragma once

#include "figures/Worksheet.h"
#include "state/AppState.h"
#include "widgets/FigureHost.h"
#include "widgets/FigurePage.h"
#include "widgets/PageControl.h"
#include "widgets/Redrawer.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QSlider;
class QTreeWidget;
class QToolButton;
class QMenu;
class QCloseEvent;

namespace koyomi::figures {
class PicturePage;
}

namespace koyomi::tools {

class DataLibrary;

class TForm2 : public QWidget
{
    Q_OBJECT
public:
    TForm2(state::AppState& state, widgets::FigureHost& host, QWidget* parent = nullptr);
    ~TForm2() override;

    // The page of each figure kind, in tab order.
    const std::vector<widgets::FigurePage*>& pages() const { return m_pages; }
    widgets::Redrawer& redrawer() { return m_redrawer; }
    widgets::PageControl* pageControl() const { return m_pageControl; }

    // Resets the figures' colour choices to white on black or black on white.
    void ColorInit(bool whiteBackground);

    // What the other windows ask of the picture figure: refresh its list (on a page
    // change), the next picture (Enter), the picture at the index again (a new window
    // size), and the picture at the index with the index moved on (the Paint tool's redraw).
    std::function<void()> refreshPictureList;
    std::function<void()> advancePicture;
    std::function<void()> reloadPicture;
    std::function<void()> loadPictureAndAdvance;

    // Applies a preset record line: background, every control of its figure's page, then
    // the figure is drawn, its page shown and made the current figure. Returns false for a
    // line that is not a record of a known figure.
    bool loadRecord(const QString& line);
    // The record line of the current settings of figure `kind` under the given name.
    QString recordOf(int kind, const QString& name) const;

    // The data library beside the pages, and the teacher's answers it asks for: the name of
    // a new preset (nothing on Cancel) and OK to a warning. Dialogs unless replaced.
    DataLibrary& library() { return *m_library; }
    std::function<std::optional<QString>()> askLibraryName;
    std::function<bool(const QString& question)> confirmLibrary;
    // Loads the next (1) or previous (-1) preset of the current figure: what a presentation
    // remote's page keys do.
    bool stepPreset(int delta);

    // Worksheets: the current figure with its current settings ("PDFとして保存…"), or the
    // library's selected group or preset ("PDFに書き出す…"), one page each, written as a PDF
    // where the teacher says. The layout is asked for with the graph paper's cell in pixels
    // when the first page is graph paper (nothing on Cancel), then the file name (empty on
    // Cancel); both are dialogs unless replaced. A page that cannot be drawn stops the PDF,
    // named, and nothing is written.
    void saveCurrentAsWorksheet();
    void exportSelectedAsWorksheet();
    std::function<std::optional<figures::WorksheetLayout>(std::optional<QSize> cell)> askWorksheet;
    std::function<QString()> askWorksheetPath;

    void PageControl1Change(int index);
    void TrackBar1Change(int position);
    void Action1Execute();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildFrame();
    void buildLibrary(QMenu* popup);
    void writeWorksheet(const QStringList& lines);
    void restorePlacement();
    // The page of the figure that shows picture files, if the Draw tool has one.
    figures::PicturePage* picturePage() const;
    // Shows the library's notice under its tree; an empty text takes it away.
    void showLibraryNotice(const QString& notice);

    state::AppState& m_state;
    widgets::FigureHost& m_host;
    widgets::Redrawer m_redrawer;
    std::vector<widgets::FigurePage*> m_pages;
    widgets::PageControl* m_pageControl = nullptr;
    QTreeWidget* m_tree = nullptr;
    QLabel* m_libraryNotice = nullptr; // what the library could not read, until it is written
    DataLibrary* m_library = nullptr;
    figures::WorksheetLayout m_sheet; // the last worksheet layout chosen
    QSlider* m_trackBar = nullptr;
};

} // namespace koyomi::tools
