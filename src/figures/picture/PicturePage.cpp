#include "figures/picture/PicturePage.h"

#include "render/Text.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QVBoxLayout>

namespace koyomi::figures {

namespace {

constexpr int kControlWidth = 303;

} // namespace

PicturePage::PicturePage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
                         QWidget* parent)
    : FigurePage(kind, host, redrawer, parent)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(5, 4, 5, 4);
    column->setSpacing(4);

    m_places = new QComboBox(this);
    m_places->setObjectName(QStringLiteral("ShellComboBox1"));
    m_places->setFixedSize(kControlWidth, 24);
    m_places->setToolTip(
        QStringLiteral("場所: ホーム、デスクトップ、ピクチャ、ルートと接続中のドライブ"));
    column->addWidget(m_places);

    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    m_model->setRootPath(QDir::rootPath());
    m_tree = new QTreeView(this);
    m_tree->setObjectName(QStringLiteral("ShellTreeView1"));
    m_tree->setFixedSize(kControlWidth, 176);
    m_tree->setModel(m_model);
    for (int c = 1; c < m_model->columnCount(); ++c) {
        m_tree->hideColumn(c);
    }
    m_tree->setHeaderHidden(true);
    m_tree->setToolTip(QStringLiteral("画像のフォルダ"));
    column->addWidget(m_tree);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("ListBox1"));
    m_list->setFixedSize(kControlWidth, 277);
    m_list->setUniformItemSizes(true);
    m_list->setToolTip(QStringLiteral("フォルダの JPEG 画像 (クリックで表示、Enter で次へ)"));
    column->addWidget(m_list);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("PictureStatus"));
    m_status->setFixedWidth(kControlWidth);
    m_status->setWordWrap(true);
    column->addWidget(m_status);
    column->addStretch();

    buildPlaces();

    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) {
                    folderChanged(m_model->filePath(current));
                }
            });
    connect(m_places, &QComboBox::activated, this,
            [this](int index) { setPictureFolder(m_places->itemData(index).toString()); });
    // A row chosen with the mouse or the keys shows its file; a click on the row already
    // chosen shows it again.
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) {
            m_rowChangeLoaded = true;
            ListBox1Click(row);
        }
    });
    connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (!m_rowChangeLoaded) {
            ListBox1Click(m_list->row(item));
        }
        m_rowChangeLoaded = false;
    });

    // The folder tree reads folders as it needs them: the selected one is brought into
    // view once the rows leading to it are there, and again when the page is first laid out.
    connect(m_model, &QFileSystemModel::directoryLoaded, this, [this] { keepSelectedInView(); });
    openFolder(QString());
}

void PicturePage::openFolder(const QString& remembered)
{
    // The list stays empty until the teacher turns to the page or chooses a folder.
    m_folder =
        !remembered.isEmpty() && QFileInfo(remembered).isDir() ? remembered : QDir::homePath();
    const QSignalBlocker quiet(m_tree->selectionModel());
    const QModelIndex start = m_model->index(m_folder);
    if (start.isValid()) {
        m_tree->setCurrentIndex(start);
    }
    showPlaceOf(m_folder);
    keepSelectedInView();
}

void PicturePage::keepSelectedInView()
{
    const QModelIndex current = m_tree->currentIndex();
    if (current.isValid()) {
        m_tree->scrollTo(current, QAbstractItemView::PositionAtCenter);
    }
}

void PicturePage::showEvent(QShowEvent* event)
{
    FigurePage::showEvent(event);
    keepSelectedInView();
}

void PicturePage::buildPlaces()
{
    const QSignalBlocker quiet(m_places);
    auto add = [this](const QString& caption, const QString& path) {
        if (!path.isEmpty() && QFileInfo(path).isDir() && m_places->findData(path) < 0) {
            m_places->addItem(caption, path);
        }
    };
    add(QStringLiteral("ホーム"), QDir::homePath());
    add(QStringLiteral("デスクトップ"),
        QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    add(QStringLiteral("ピクチャ"),
        QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
    add(QStringLiteral("ルート (/)"), QDir::rootPath());
    // Mounted media: USB sticks, card readers, network shares, not the system's own mounts.
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        const bool media = root.startsWith(QStringLiteral("/media/")) ||
                           root.startsWith(QStringLiteral("/mnt/")) ||
                           root.startsWith(QStringLiteral("/run/media/"));
        if (volume.isValid() && volume.isReady() && media) {
            const QString name = volume.displayName();
            add(name == root ? root : QStringLiteral("%1 (%2)").arg(name, root), root);
        }
    }
}

void PicturePage::setPictureFolder(const QString& folder)
{
    const QModelIndex index = m_model->index(folder);
    if (index.isValid() && m_tree->currentIndex() != index) {
        m_tree->setCurrentIndex(index); // the tree's change makes it the picture folder
        m_tree->scrollTo(index);
    } else {
        // A folder the tree cannot show (gone, or from another computer) still becomes the
        // picture folder; its list is empty.
        folderChanged(folder);
    }
}

void PicturePage::folderChanged(const QString& folder)
{
    m_folder = folder;
    showPlaceOf(folder);
    refreshList();
}

void PicturePage::showPlaceOf(const QString& folder)
{
    int best = -1;
    qsizetype depth = -1;
    for (int i = 0; i < m_places->count(); ++i) {
        const QString place = m_places->itemData(i).toString();
        const bool inside = folder == place || folder.startsWith(withSeparator(place));
        if (inside && place.size() > depth) {
            best = i;
            depth = place.size();
        }
    }
    if (best >= 0) {
        const QSignalBlocker quiet(m_places);
        m_places->setCurrentIndex(best);
    }
}

void PicturePage::refreshList()
{
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    m_list->addItems(pictureNames(m_folder));
}

QString PicturePage::pathOf(const QString& name) const
{
    return withSeparator(m_folder) + name;
}

void PicturePage::selectRow(int row)
{
    const QSignalBlocker quiet(m_list);
    m_list->setCurrentRow(row);
}

bool PicturePage::loadPicture(const QString& path)
{
    state().PicturePath = path;
    m_scaled = QImage();
    bool shown = false;
    try {
        m_picture = figures::loadPicture(path, host().clientSize());
        m_status->clear();
        shown = true;
    } catch (const PictureError& e) {
        m_picture = DecodedPicture{};
        m_status->setText(e.message);
        if (e.kind == PictureError::Unreadable) {
            host().showError(e.message);
        }
    }
    requestRedraw();
    return shown;
}

void PicturePage::ListBox1Click(int row)
{
    if (row < 0 || row >= m_list->count()) {
        return;
    }
    state().PictureIndex = row;
    loadPicture(pathOf(m_list->item(row)->text()));
}

void PicturePage::advance()
{
    const int count = m_list->count();
    if (count == 0) {
        return;
    }
    int& index = state().PictureIndex;
    index = index + 1 > count - 1 || index < 0 ? 0 : index + 1;
    selectRow(index);
    loadPicture(pathOf(m_list->item(index)->text()));
}

void PicturePage::loadCurrentAndAdvance()
{
    const int count = m_list->count();
    int& index = state().PictureIndex;
    if (count == 0 || index < 0 || index >= count) {
        requestRedraw();
        return;
    }
    const bool shown = loadPicture(pathOf(m_list->item(index)->text()));
    selectRow(index);
    if (shown) {
        index = index + 1 > count - 1 ? 0 : index + 1;
    }
}

void PicturePage::reloadCurrent()
{
    const int index = state().PictureIndex;
    if (index >= 0 && index < m_list->count()) {
        loadPicture(pathOf(m_list->item(index)->text()));
    } else {
        requestRedraw(); // the picture shown, fitted to the new size
    }
}

void PicturePage::render(render::Canvas& canvas, const render::Frame&)
{
    drawPicture(canvas, m_picture, &m_scaled);
}

QStringList PicturePage::recordFields() const
{
    const int index = state().PictureIndex;
    // The file at the index; with nothing listed there, the file shown.
    const QString name = index >= 0 && index < m_list->count()
                             ? m_list->item(index)->text()
                             : QFileInfo(state().PicturePath).fileName();
    return pictureRecordValues(m_folder, name);
}

void PicturePage::applyRecordFields(const QStringList& fields)
{
    const PictureRecord record = readPictureRecord(fields);
    widgets::Redrawer::Scope scope(redrawer());
    loadPicture(record.path());
    setPictureFolder(record.folder);
    scope.request(kind());
}

} // namespace koyomi::figures
