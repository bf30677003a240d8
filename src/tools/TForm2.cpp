#include "tools/TForm2.h"

#include "widgets/PageControl.h"

#include "figures/FigureIcons.h"
#include "figures/FigureKinds.h"
#include "figures/Figures.h"
#include "figures/Record.h"
#include "figures/picture/PicturePage.h"
#include "render/ColorInit.h"
#include "state/SettingsFile.h"
#include "tools/DataLibrary.h"
#include "tools/FigureTable.h"
#include "tools/WorksheetDialog.h"
#include "widgets/ToolPlacement.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QSaveFile>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>
#include <map>
#include <vector>

namespace koyomi::tools {

namespace {

constexpr int kClientWidth = 456;
constexpr int kClientHeight = 613;
constexpr widgets::ToolWindowKeys kPlacementKeys{"Drawtop", "Drawleft", "Drawclearness"};
// The picture folder last used: the picture page opens on it at the next start.
constexpr char kPictureFolderKey[] = "PictureFolder";

} // namespace

TForm2::TForm2(state::AppState& state, widgets::FigureHost& host, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_state(state), m_host(host),
      m_redrawer([&host](int kind) { host.drawFigure(kind); })
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Drawツール"));
    QFont f(QString::fromUtf8(render::kFigureFontFamily));
    f.setPixelSize(12);
    setFont(f);
    // Selectors with a slim frame and arrow, so that a row of them fits the page with every
    // item readable.
    setStyleSheet(QStringLiteral("QComboBox { padding: 1px 0px 1px 2px; }"));
    setFixedSize(kClientWidth, kClientHeight);
    // Only the presentation window keeps the program running.
    setAttribute(Qt::WA_QuitOnClose, false);

    m_state.PictureIndex = 0;
    m_state.PicturePath = QStringLiteral("NoName.jpg");
    buildFrame();
    if (auto* picture = picturePage()) {
        picture->attachState(m_state);
        refreshPictureList = [picture] { picture->refreshList(); };
        advancePicture = [picture] { picture->advance(); };
        reloadPicture = [picture] { picture->reloadCurrent(); };
        loadPictureAndAdvance = [picture] { picture->loadCurrentAndAdvance(); };
        picture->openFolder(state::SettingsFile(m_state.SettingsBase)
                                .readText(QString::fromLatin1(kPictureFolderKey)));
    }
    restorePlacement();
    m_library->read();
}

TForm2::~TForm2()
{
    m_library->write();
    std::vector<state::Setting> more;
    if (const auto* picture = picturePage()) {
        more.push_back({QString::fromLatin1(kPictureFolderKey), 0, picture->pictureFolder()});
    }
    QString error;
    if (!widgets::saveToolWindow(*this, m_trackBar->value(), m_state.SettingsBase, kPlacementKeys,
                                 &error, more)) {
        m_state.reportSettingsError(state::SettingsFile(m_state.SettingsBase).path(), error);
    }
}

void TForm2::buildFrame()
{
    // The library heading: a silver bar with a bold white caption.
    auto* shape = new QLabel(this);
    shape->setObjectName(QStringLiteral("Shape1"));
    shape->setGeometry(2, 2, 138, 22);
    shape->setStyleSheet(QStringLiteral("background-color: silver;"));
    auto* heading = new QLabel(QStringLiteral("データライブラリ"), shape);
    heading->setObjectName(QStringLiteral("Label47"));
    heading->setGeometry(0, 0, 138, 22);
    heading->setAlignment(Qt::AlignCenter);
    heading->setStyleSheet(QStringLiteral("color: white; font-weight: bold;"));

    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("TreeView1"));
    m_tree->setGeometry(0, 26, 141, 526);
    m_libraryNotice = new QLabel(this);
    m_libraryNotice->setObjectName(QStringLiteral("LibraryNotice"));
    m_libraryNotice->setWordWrap(true);
    m_libraryNotice->setMargin(3);
    m_libraryNotice->setStyleSheet(
        QStringLiteral("background-color: #fff4c0; color: black; border: 1px solid #c8a000;"));
    m_libraryNotice->hide();
    m_tree->setHeaderHidden(true);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    for (const figures::Figure& figure : figures::figureTable()) {
        auto* group = new QTreeWidgetItem(m_tree, {QString::fromUtf8(figure.caption)});
        group->setIcon(0, figures::figureIcon(figure.drawIcon, figure.roundIcon));
    }
    auto* popup = new QMenu(this);
    popup->setObjectName(QStringLiteral("PopupMenu1"));
    popup->addAction(QStringLiteral("上書き保存"))->setObjectName(QStringLiteral("Overwrite1"));
    popup->addAction(QStringLiteral("削除"))->setObjectName(QStringLiteral("Delete1"));
    popup->addAction(QStringLiteral("PDFに書き出す…"))->setObjectName(QStringLiteral("ExportPdf1"));

    auto* add = new QToolButton(this);
    add->setObjectName(QStringLiteral("SpeedButton1"));
    add->setGeometry(2, 556, 26, 26);
    add->setText(QStringLiteral("+"));
    add->setToolTip(QStringLiteral("今の設定をライブラリに追加"));
    auto* load = new QToolButton(this);
    load->setObjectName(QStringLiteral("SpeedButton2"));
    load->setGeometry(30, 556, 26, 26);
    load->setText(QStringLiteral("↓"));
    load->setToolTip(QStringLiteral("選んだ設定を読み込む"));

    auto* opacityLabel = new QLabel(QStringLiteral("透明度"), this);
    opacityLabel->setObjectName(QStringLiteral("Label84"));
    opacityLabel->setGeometry(2, 588, 40, 20);
    m_trackBar = new QSlider(Qt::Horizontal, this);
    m_trackBar->setObjectName(QStringLiteral("TrackBar1"));
    m_trackBar->setGeometry(42, 586, 98, 24);
    m_trackBar->setRange(widgets::kMinToolOpacity, widgets::kMaxToolOpacity);
    m_trackBar->setValue(widgets::kMaxToolOpacity);
    connect(m_trackBar, &QSlider::valueChanged, this, &TForm2::TrackBar1Change);

    // Every figure in sight at once: three rows of three page buttons over the pages.
    m_pageControl = new widgets::PageControl(3, this);
    m_pageControl->setObjectName(QStringLiteral("PageControl1"));
    m_pageControl->setGeometry(143, 1, 313, 611);
    for (int kind = 0; kind < figures::kFigureCount; ++kind) {
        const figures::Figure& figure = figures::figureTable()[std::size_t(kind)];
        widgets::FigurePage* page =
            pageMakers()[std::size_t(kind)](kind, m_host, m_redrawer, m_pageControl);
        page->setObjectName(QStringLiteral("TabSheet%1").arg(kind + 1));
        m_pages.push_back(page);
        m_pageControl->addTab(page, figures::figureIcon(figure.drawIcon, figure.roundIcon),
                              QString::fromUtf8(figure.caption));
    }
    connect(m_pageControl, &widgets::PageControl::currentChanged, this,
            &TForm2::PageControl1Change);

    // Enter advances the picture whichever control has the focus.
    auto* action = new QAction(this);
    action->setObjectName(QStringLiteral("Action1"));
    action->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
    connect(action, &QAction::triggered, this, &TForm2::Action1Execute);

    buildLibrary(popup);
    connect(add, &QToolButton::clicked, m_library, &DataLibrary::add);
    connect(load, &QToolButton::clicked, m_library, &DataLibrary::loadSelected);
}

void TForm2::buildLibrary(QMenu* popup)
{
    askLibraryName = [this]() -> std::optional<QString> {
        bool ok = false;
        const QString name = QInputDialog::getText(this, QStringLiteral("名前入力"),
                                                   QStringLiteral("ライブラリ名を入力してください"),
                                                   QLineEdit::Normal, QString(), &ok);
        return ok ? std::optional<QString>(name) : std::nullopt;
    };
    confirmLibrary = [this](const QString& question) {
        return QMessageBox::warning(this, QStringLiteral("Koyomiplan"), question,
                                    QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
    };
    DataLibrary::Seams seams;
    seams.recordOf = [this](int kind, const QString& name) { return recordOf(kind, name); };
    seams.load = [this](const QString& line) { return loadRecord(line); };
    seams.currentKind = [this] { return m_state.FigureKind; };
    seams.showError = [this](const QString& message) { m_host.showError(message); };
    seams.showNotice = [this](const QString& notice) { showLibraryNotice(notice); };
    seams.askName = [this] { return askLibraryName(); };
    seams.confirm = [this](const QString& question) { return confirmLibrary(question); };
    m_library = new DataLibrary(m_tree, m_state.libraryReadPath, m_state.libraryWritePath,
                                std::move(seams), this);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, m_library, &DataLibrary::loadSelected);
    auto* overwrite = popup->findChild<QAction*>(QStringLiteral("Overwrite1"));
    auto* remove = popup->findChild<QAction*>(QStringLiteral("Delete1"));
    connect(overwrite, &QAction::triggered, m_library, &DataLibrary::overwriteSelected);
    connect(remove, &QAction::triggered, m_library, &DataLibrary::deleteSelected);
    auto* exportPdf = popup->findChild<QAction*>(QStringLiteral("ExportPdf1"));
    connect(exportPdf, &QAction::triggered, this, &TForm2::exportSelectedAsWorksheet);
    askWorksheet = [this](std::optional<QSize> cell) -> std::optional<figures::WorksheetLayout> {
        WorksheetDialog dialog(m_sheet, cell, this);
        return dialog.exec() == QDialog::Accepted
                   ? std::optional<figures::WorksheetLayout>(dialog.layout())
                   : std::nullopt;
    };
    askWorksheetPath = [this] {
        return QFileDialog::getSaveFileName(this, QStringLiteral("PDFとして保存"), QString(),
                                            QStringLiteral("PDF (*.pdf)"));
    };
    connect(m_tree, &QTreeWidget::customContextMenuRequested, this,
            [this, popup, overwrite, remove, exportPdf](const QPoint& at) {
                m_library->updateMenu(overwrite, remove);
                exportPdf->setEnabled(!m_library->selectedLines().isEmpty());
                popup->popup(m_tree->viewport()->mapToGlobal(at));
            });
}

void TForm2::showLibraryNotice(const QString& notice)
{
    // The notice takes the bottom of the tree's place, as high as its text needs.
    constexpr int kTop = 26;
    constexpr int kHeight = 526;
    constexpr int kWidth = 141;
    m_libraryNotice->setText(notice);
    m_libraryNotice->setVisible(!notice.isEmpty());
    const int h =
        notice.isEmpty() ? 0 : std::min(m_libraryNotice->heightForWidth(kWidth), kHeight / 2);
    m_tree->setGeometry(0, kTop, kWidth, kHeight - h);
    m_libraryNotice->setGeometry(0, kTop + kHeight - h, kWidth, h);
}

void TForm2::closeEvent(QCloseEvent* event)
{
    m_library->write();
    QWidget::closeEvent(event);
}

void TForm2::saveCurrentAsWorksheet()
{
    const int kind = m_state.FigureKind;
    writeWorksheet(
        {recordOf(kind, QString::fromUtf8(figures::figureTable()[std::size_t(kind)].caption))});
}

void TForm2::exportSelectedAsWorksheet()
{
    const QStringList lines = m_library->selectedLines();
    if (!lines.isEmpty()) {
        writeWorksheet(lines);
    }
}

void TForm2::writeWorksheet(const QStringList& lines)
{
    std::vector<figures::Record> records;
    for (const QString& line : lines) {
        if (std::optional<figures::Record> r = figures::parseRecord(line);
            r && figures::figureOf(r->kind)) {
            records.push_back(std::move(*r));
        }
    }
    if (records.empty()) {
        return;
    }
    // A figure with a cell (graph paper) shows it in millimetres as the scale changes.
    std::optional<QSize> cell;
    const figures::Figure& first = *figures::figureOf(records.front().kind);
    if (first.cell) {
        figures::FieldValues fields(*first.fields, false);
        try {
            figures::applyRecordValues(fields, records.front().values);
        } catch (const figures::EConvertError&) {
        }
        cell = first.cell(fields);
    }
    const std::optional<figures::WorksheetLayout> layout = askWorksheet(cell);
    if (!layout) {
        return;
    }
    if (const QString problem = figures::worksheetProblem(*layout); !problem.isEmpty()) {
        m_host.showError(problem);
        return;
    }
    m_sheet = *layout;
    QString path = askWorksheetPath();
    if (path.isEmpty()) {
        return;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".pdf");
    }
    figures::WorksheetPdf sheet(m_sheet);
    for (const figures::Record& r : records) {
        try {
            sheet.addPage(
                {figures::drawFigureImage(int(r.kind), &r, figures::worksheetPixels(m_sheet),
                                          r.whiteBackground, true),
                 r.name});
        } catch (const figures::FigureError& e) {
            m_host.showError(
                QStringLiteral("「%1」をPDFにできませんでした。\n%2").arg(r.name, e.message));
            return;
        }
    }
    const QByteArray pdf = sheet.finish();
    QSaveFile file(path);
    if (!(file.open(QIODevice::WriteOnly) && file.write(pdf) == pdf.size() && file.commit())) {
        m_host.showError(
            QStringLiteral("「%1」に保存できませんでした。\n%2").arg(path, file.errorString()));
    }
}

bool TForm2::stepPreset(int delta)
{
    return m_library->step(delta);
}

void TForm2::restorePlacement()
{
    m_trackBar->setValue(widgets::restoreToolWindow(*this, m_state.SettingsBase, kPlacementKeys));
    TrackBar1Change(m_trackBar->value());
}

void TForm2::ColorInit(bool whiteBackground)
{
    // The selectors of every page, in the fixed order of the reset.
    std::vector<std::pair<int, render::ColorSelector*>> byOrder;
    for (widgets::FigurePage* page : m_pages) {
        for (const auto& entry : page->colorSelectors()) {
            byOrder.push_back(entry);
        }
    }
    std::sort(byOrder.begin(), byOrder.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<render::ColorSelector*> ordered;
    for (const auto& [order, selector] : byOrder) {
        ordered.push_back(selector);
    }
    render::ColorInit(ordered, whiteBackground);
}

figures::PicturePage* TForm2::picturePage() const
{
    for (widgets::FigurePage* page : m_pages) {
        if (auto* picture = qobject_cast<figures::PicturePage*>(page)) {
            return picture;
        }
    }
    return nullptr;
}

void TForm2::PageControl1Change(int index)
{
    if (refreshPictureList) {
        refreshPictureList();
    }
    m_state.FigureKind = index;
    if (figures::showsAFile(index)) {
        m_host.showPicture();
    } else {
        widgets::Redrawer::Scope scope(m_redrawer);
        scope.request(index);
    }
}

bool TForm2::loadRecord(const QString& line)
{
    const std::optional<figures::Record> record = figures::parseRecord(line);
    if (!record || record->kind < 0 || record->kind >= figures::kFigureCount) {
        return false;
    }
    const int kind = int(record->kind);
    widgets::FigurePage* page = m_pages[std::size_t(kind)];
    m_host.useBackground(record->whiteBackground);
    widgets::Redrawer::Scope scope(m_redrawer);
    try {
        page->applyRecordFields(record->values);
    } catch (const figures::EConvertError& e) {
        // The controls set before the bad value keep their new values.
        m_host.showError(QString::fromUtf8(e.what()));
        return true;
    }
    scope.request(kind);
    {
        // Showing the page from here is not a teacher's page change.
        const QSignalBlocker blocker(m_pageControl);
        m_pageControl->setCurrentIndex(kind);
    }
    m_state.FigureKind = kind;
    return true;
}

QString TForm2::recordOf(int kind, const QString& name) const
{
    return figures::recordLine(kind, name, m_host.whiteBackground(),
                               m_pages[std::size_t(kind)]->recordFields());
}

void TForm2::TrackBar1Change(int position)
{
    setWindowOpacity(position / 255.0);
}

void TForm2::Action1Execute()
{
    if (figures::showsAFile(m_state.FigureKind) && advancePicture) {
        advancePicture();
    }
}

} // namespace koyomi::tools
