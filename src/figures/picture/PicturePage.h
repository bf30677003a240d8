// The picture page of the Draw tool: a chooser of places, the folder tree, the list of the
// chosen folder's JPEG files and the picture shown from it, stepped through with Enter.
#pragma once

#include "figures/picture/Picture.h"
#include "state/AppState.h"
#include "widgets/FigurePage.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QTreeView>

class QFileSystemModel;

namespace koyomi::figures {

class PicturePage : public widgets::FigurePage
{
    Q_OBJECT
public:
    PicturePage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
                QWidget* parent = nullptr);

    // The process-wide picture index and path live in the program's state.
    void attachState(state::AppState& state) { m_state = &state; }

    bool hasFigure() const override { return true; }
    // The picture on black, whatever the background setting.
    void render(render::Canvas& canvas, const render::Frame& frame) override;
    QStringList recordFields() const override;
    void applyRecordFields(const QStringList& fields) override;

    // The picture folder: the folder selected in the tree.
    QString pictureFolder() const { return m_folder; }
    // The folder the page opens on: `remembered` (the one used last time) while it exists,
    // else the home folder. The tree selects it and keeps it in view, and the chooser names
    // the place it lies in.
    void openFolder(const QString& remembered);
    // Selects a folder in the tree, which makes it the picture folder and refreshes the list.
    void setPictureFolder(const QString& folder);
    // Fills the list with the picture folder's JPEG files; the picture index stays.
    void refreshList();
    // Shows one file fitted to the window; a file that is not a picture clears the picture.
    // Returns whether a picture is shown.
    bool loadPicture(const QString& path);
    // Enter: the next picture of the list, the first after the last.
    void advance();
    // The Paint tool's "ReDraw": the picture at the index, then the index moves on.
    void loadCurrentAndAdvance();
    // A new window size: the picture at the index again, fitted anew.
    void reloadCurrent();

    bool hasPicture() const { return !m_picture.image.isNull(); }
    // What went wrong with the last file, shown under the list; empty after a good one.
    QString problem() const { return m_status->text(); }

    // A click in the list: that file becomes the current picture.
    void ListBox1Click(int row);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildPlaces();
    void folderChanged(const QString& folder);
    // The chooser's entry for the place holding `folder`: the deepest place it lies in.
    void showPlaceOf(const QString& folder);
    // The tree's selected folder, scrolled into view (again once its rows are loaded).
    void keepSelectedInView();
    QString pathOf(const QString& name) const;
    state::AppState& state() { return m_state ? *m_state : m_unattached; }
    const state::AppState& state() const { return m_state ? *m_state : m_unattached; }
    void selectRow(int row);

    state::AppState* m_state = nullptr;
    state::AppState m_unattached;  // the page's own until the program's state is attached
    QComboBox* m_places = nullptr; // ShellComboBox1
    QTreeView* m_tree = nullptr;   // ShellTreeView1
    QFileSystemModel* m_model = nullptr;
    QListWidget* m_list = nullptr; // ListBox1
    QLabel* m_status = nullptr;
    QString m_folder;
    DecodedPicture m_picture; // Image1: what the window shows, under the annotation
    QImage m_scaled;          // the picture scaled to its place, kept between draws
    bool m_rowChangeLoaded = false;
};

} // namespace koyomi::figures
