// The data library of the Draw tool: named presets in a tree of the nine figure groups, kept
// in the library file. Adding, loading, overwriting and deleting act on the tree and write
// the file at once; nothing the file held is ever dropped.
#pragma once

#include "state/LibraryFile.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QAction;
class QTreeWidget;
class QTreeWidgetItem;

namespace koyomi::tools {

class DataLibrary : public QObject
{
    Q_OBJECT
public:
    // What the library needs from the Draw tool and the teacher.
    struct Seams
    {
        std::function<QString(int kind, const QString& name)> recordOf; // the current settings
        std::function<bool(const QString& line)> load;                  // applies a record
        std::function<int()> currentKind;                               // FigureKind
        std::function<void(const QString&)> showError;
        // A notice beside the tree that needs no answer; an empty text takes it away.
        std::function<void(const QString&)> showNotice;
        std::function<std::optional<QString>()> askName;      // nothing when cancelled
        std::function<bool(const QString& question)> confirm; // OK or Cancel
    };

    // The tree's top-level items are the groups, in figure order. Empty paths keep the
    // library in memory only.
    DataLibrary(QTreeWidget* tree, const QString& readPath, const QString& writePath, Seams seams,
                QObject* parent = nullptr);

    // Fills the tree from the file: once, as the Draw tool is made. Lines that could not be
    // read are kept, and a notice says so until the file is next written; blank lines after
    // the last record are kept too, and nothing is said of them. A file that could not be
    // read at all is never written, and the teacher is told.
    void read();
    // Rewrites the whole file from the tree; false (and the teacher told) when it fails.
    bool write();

    void add();          // a new record of the current figure under a name asked for
    void loadSelected(); // the selected record, when a record is selected
    void overwriteSelected();
    void deleteSelected();
    // Enables the context menu's items for the selected node.
    void updateMenu(QAction* overwrite, QAction* remove) const;
    // Loads the next (delta 1) or previous (-1) record of the current figure's group, after
    // the selected one; from the first or last when none of that group is selected. False
    // when the group has no record to step to.
    bool step(int delta);

    // The record lines of the selected node: a preset's own line, or every line of a group in
    // the tree's order. Empty when nothing is selected.
    QStringList selectedLines() const;

    // The record line a node holds; empty for a group.
    static QString lineOf(const QTreeWidgetItem* item);

private:
    QTreeWidgetItem* selectedRecord() const;
    QTreeWidgetItem* addNode(QTreeWidgetItem* group, const QString& line);
    bool writable();

    QTreeWidget* m_tree;
    QString m_readPath;
    QString m_writePath;
    Seams m_seams;
    QByteArray m_rest;      // the file's lines from the first that is not a record, as they are
    bool m_blocked = false; // the file could not be read: writing it would lose what it holds
};

} // namespace koyomi::tools
