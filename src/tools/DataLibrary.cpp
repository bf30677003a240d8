#include "tools/DataLibrary.h"

#include "figures/FigureKinds.h"
#include "figures/Record.h"

#include <QAction>
#include <QFile>
#include <QTreeWidget>

namespace koyomi::tools {

namespace {

constexpr int kLineRole = Qt::UserRole;

} // namespace

DataLibrary::DataLibrary(QTreeWidget* tree, const QString& readPath, const QString& writePath,
                         Seams seams, QObject* parent)
    : QObject(parent), m_tree(tree), m_readPath(readPath), m_writePath(writePath),
      m_seams(std::move(seams))
{
}

QString DataLibrary::lineOf(const QTreeWidgetItem* item)
{
    return item ? item->data(0, kLineRole).toString() : QString();
}

QTreeWidgetItem* DataLibrary::addNode(QTreeWidgetItem* group, const QString& line)
{
    const std::optional<figures::Record> record = figures::parseRecordHead(line);
    auto* item = new QTreeWidgetItem({record ? record->name : QString()});
    item->setData(0, kLineRole, line);
    if (group) {
        group->addChild(item);
    } else {
        m_tree->addTopLevelItem(item);
    }
    return item;
}

void DataLibrary::read()
{
    if (m_readPath.isEmpty()) {
        return;
    }
    if (!QFile::exists(m_readPath)) {
        // No library yet: an empty one is made, so that the teacher sees where it lives.
        write();
        return;
    }
    QString error;
    const std::optional<state::LibraryContents> contents = state::readLibrary(m_readPath, &error);
    if (!contents) {
        m_blocked = true;
        m_seams.showError(
            QStringLiteral("ライブラリ「%1」を読めませんでした (%2)。\n"
                           "ファイルの中身を守るため、このライブラリには保存しません。")
                .arg(m_readPath, error));
        return;
    }
    for (const QString& line : contents->records) {
        // The group of the record's figure; a number of no figure stays at the top level.
        const long long kind = figures::parseRecordHead(line)->kind;
        QTreeWidgetItem* group =
            kind >= 0 && kind < m_tree->topLevelItemCount() && kind < figures::kFigureCount
                ? m_tree->topLevelItem(int(kind))
                : nullptr;
        addNode(group, line);
    }
    // Groups holding presets are shown open: the lesson's presets are in sight at once.
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        m_tree->topLevelItem(i)->setExpanded(m_tree->topLevelItem(i)->childCount() > 0);
    }
    m_rest = contents->rest;
    // A notice, not a box over the projection at the start of a lesson: the presets read are
    // there to use, and the lines not read are safe at the end of the file.
    const QString unread = state::unreadLinesMessage(*contents);
    if (!unread.isEmpty() && m_seams.showNotice) {
        m_seams.showNotice(
            QStringLiteral("ライブラリの %1。消さずにファイルの最後に残しています。").arg(unread));
    }
}

bool DataLibrary::writable()
{
    if (m_blocked) {
        m_seams.showError(
            QStringLiteral("ライブラリのファイルを読めなかったため、保存できません。"));
        return false;
    }
    return true;
}

bool DataLibrary::write()
{
    if (m_writePath.isEmpty() || m_blocked) {
        return true;
    }
    // Groups in figure order, each followed by its records; records of no figure last.
    QStringList records;
    QStringList loose;
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* top = m_tree->topLevelItem(i);
        if (top->data(0, kLineRole).isValid()) {
            loose.append(lineOf(top));
            continue;
        }
        for (int j = 0; j < top->childCount(); ++j) {
            records.append(lineOf(top->child(j)));
        }
    }
    records += loose;
    QString error;
    if (!state::writeLibrary(m_writePath, records, m_rest, &error)) {
        m_seams.showError(
            QStringLiteral("ライブラリ「%1」に書き込めませんでした。\n%2").arg(m_writePath, error));
        return false;
    }
    if (m_seams.showNotice) {
        m_seams.showNotice({});
    }
    return true;
}

QTreeWidgetItem* DataLibrary::selectedRecord() const
{
    QTreeWidgetItem* item = m_tree->currentItem();
    return item && item->data(0, kLineRole).isValid() ? item : nullptr;
}

QStringList DataLibrary::selectedLines() const
{
    QStringList lines;
    if (QTreeWidgetItem* record = selectedRecord()) {
        lines.append(lineOf(record));
    } else if (QTreeWidgetItem* group = m_tree->currentItem()) {
        for (int i = 0; i < group->childCount(); ++i) {
            lines.append(lineOf(group->child(i)));
        }
    }
    return lines;
}

void DataLibrary::add()
{
    const int kind = m_seams.currentKind();
    if (kind < 0 || kind >= m_tree->topLevelItemCount() || !writable()) {
        return;
    }
    const std::optional<QString> name = m_seams.askName();
    if (!name) {
        return;
    }
    const QString line = m_seams.recordOf(kind, *name);
    if (const std::optional<QString> problem = state::libraryLineProblem(line)) {
        m_seams.showError(*problem);
        return;
    }
    QTreeWidgetItem* group = m_tree->topLevelItem(kind);
    group->setExpanded(true);
    m_tree->setCurrentItem(addNode(group, line));
    write();
}

void DataLibrary::loadSelected()
{
    if (QTreeWidgetItem* item = selectedRecord()) {
        m_seams.load(lineOf(item));
    }
}

void DataLibrary::updateMenu(QAction* overwrite, QAction* remove) const
{
    const QTreeWidgetItem* item = selectedRecord();
    remove->setEnabled(item != nullptr);
    const std::optional<figures::Record> record =
        item ? figures::parseRecordHead(lineOf(item)) : std::nullopt;
    overwrite->setEnabled(record && record->kind == m_seams.currentKind());
}

void DataLibrary::overwriteSelected()
{
    QTreeWidgetItem* item = selectedRecord();
    const std::optional<figures::Record> record =
        item ? figures::parseRecordHead(lineOf(item)) : std::nullopt;
    if (!record || record->kind != m_seams.currentKind() || !writable() ||
        !m_seams.confirm(QStringLiteral("上書き保存していいですか？"))) {
        return;
    }
    const QString line = m_seams.recordOf(int(record->kind), record->name);
    if (const std::optional<QString> problem = state::libraryLineProblem(line)) {
        m_seams.showError(*problem);
        return;
    }
    item->setData(0, kLineRole, line);
    write();
}

void DataLibrary::deleteSelected()
{
    QTreeWidgetItem* item = selectedRecord();
    if (!item || !writable() ||
        !m_seams.confirm(QStringLiteral("ライブラリから削除していいですか？"))) {
        return;
    }
    delete item;
    write();
}

bool DataLibrary::step(int delta)
{
    const int kind = m_seams.currentKind();
    if (kind < 0 || kind >= m_tree->topLevelItemCount()) {
        return false;
    }
    QTreeWidgetItem* group = m_tree->topLevelItem(kind);
    const int count = group->childCount();
    if (count == 0) {
        return false;
    }
    QTreeWidgetItem* current = selectedRecord();
    int index = current && current->parent() == group ? group->indexOfChild(current) + delta
                                                      : (delta > 0 ? 0 : count - 1);
    if (index < 0 || index >= count) {
        return false; // the first or last already: a remote's extra press changes nothing
    }
    QTreeWidgetItem* next = group->child(index);
    group->setExpanded(true);
    m_tree->setCurrentItem(next);
    m_seams.load(lineOf(next));
    return true;
}

} // namespace koyomi::tools
