#include "app/TForm1.h"

#include "app/PaintBox.h"
#include "figures/Figures.h"
#include "render/JpegEncoder.h"
#include "state/SettingsFile.h"
#include "widgets/ToolPlacement.h"

#include <QAction>
#include <QActionGroup>
#include <QBuffer>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMenuBar>
#include <QSaveFile>
#include <QScreen>
#include <QWindow>

#include <vector>

namespace koyomi::app {

using state::settingsBaseFor;
using state::SettingsFile;

namespace {

constexpr int kDesignWidth = 800;
constexpr int kDesignHeight = 570;
// Side of the square corners of the drawing surface that open the tool windows.
constexpr int kHotCorner = 32;

} // namespace

// The save dialog's filter, as description and pattern pairs separated by bars.
const char* const kSaveFilter = "JPEG イメージファイル (*.jpg)|*.jpg|JPEG イメージファイル "
                                "(*.jpeg)|*.jpeg|PNG画像 (*.png)|*.png";

TForm1::TForm1(AppState& state, QWidget* parent) : QMainWindow(parent), m_state(state)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Koyomiplan"));
    QFont font(QString::fromUtf8(render::kFigureFontFamily));
    font.setPixelSize(12);
    setFont(font);

    auto* client = new QWidget(this);
    client->setAutoFillBackground(true);
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, Qt::black);
    client->setPalette(palette);
    auto* layout = new QGridLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    // The picture figure draws its picture on the drawing surface like any figure, so that
    // annotation, saving and copying see it as the class does.
    m_paintBox = new PaintBox(client);
    layout->addWidget(m_paintBox, 0, 0);
    setCentralWidget(client);
    connect(m_paintBox, &PaintBox::resized, this, [this] {
        if (figures::showsAFile(m_state.FigureKind)) {
            if (m_tools.reloadPicture) {
                m_tools.reloadPicture();
            }
        } else {
            drawGuarded();
        }
    });
    connect(m_paintBox, &PaintBox::mousePressed, this, &TForm1::PaintBox1MouseDown);
    connect(m_paintBox, &PaintBox::mouseMoved, this, &TForm1::PaintBox1MouseMove);
    connect(m_paintBox, &PaintBox::mouseReleased, this, &TForm1::PaintBox1MouseUp);
    connect(m_paintBox, &PaintBox::copyRequested, this, &TForm1::Copy1Click);

    buildMenu();
    buildActions();
    // Until the Draw tool's pages take over, each figure is drawn at its defaults: the
    // window can be shown, with its figure, before the tools are made.
    for (int kind = 0; kind < figures::kFigureCount; ++kind) {
        m_renderers[std::size_t(kind)] = [this, kind](render::Canvas& canvas,
                                                      const render::Frame& f) {
            figures::drawFigureDefaults(kind, canvas, f, &m_figureCaches);
        };
    }

    m_state.SettingsBase = settingsBaseFor(m_state.configFolder, m_state.executableName);
    setBackgroundChecks(
        SettingsFile(m_state.SettingsBase).readBool(QStringLiteral("BWflag"), false));

    resize(kDesignWidth, kDesignHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize s = screen->size();
        move((s.width() - kDesignWidth) / 2, (s.height() - kDesignHeight) / 2);
    }
    // The monitor chosen last time, when it is there; otherwise the primary one.
    const QString saved = SettingsFile(m_state.SettingsBase).readText(QStringLiteral("Screen"));
    for (QScreen* screen : QGuiApplication::screens()) {
        if (!saved.isEmpty() && screen->name() == saved &&
            screen != QGuiApplication::primaryScreen()) {
            moveToScreen(screen);
        }
    }
    buildScreenMenu();
    connect(qApp, &QGuiApplication::screenAdded, this, &TForm1::buildScreenMenu);
    connect(qApp, &QGuiApplication::screenRemoved, this, [this] {
        // Qt queues the window's move off a monitor that went away; the menu follows then.
        QMetaObject::invokeMethod(this, &TForm1::buildScreenMenu, Qt::QueuedConnection);
    });
    m_state.FigureKind = figures::kGraphPaperKind;
}

TForm1::~TForm1()
{
    SettingsFile settings(m_state.SettingsBase);
    std::vector<state::Setting> values{{QStringLiteral("BWflag"), m_state.BWflag ? 1 : 0}};
    // The monitor is written once one was chosen; a start with one monitor keeps the choice
    // made with two.
    if (!m_screenName.isEmpty()) {
        values.push_back({QStringLiteral("Screen"), 0, m_screenName});
    }
    QString error;
    if (!settings.write(values, &error)) {
        m_state.reportSettingsError(settings.path(), error);
    }
}

void TForm1::buildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* file = bar->addMenu(QStringLiteral("ファイル(&F)"));
    file->setObjectName(QStringLiteral("File1"));
    auto add = [](QMenu* menu, const char* name, const QString& caption) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    connect(add(file, "ParSet", QStringLiteral("Drawツール表示")), &QAction::triggered, this,
            [this] {
                if (m_tools.showDrawTool) {
                    m_tools.showDrawTool();
                }
            });
    connect(add(file, "Paint1", QStringLiteral("Paintツール表示")), &QAction::triggered, this,
            [this] {
                if (m_tools.showPaintTool) {
                    m_tools.showPaintTool();
                }
            });
    file->addSeparator()->setObjectName(QStringLiteral("N1"));
    QMenu* background = file->addMenu(QStringLiteral("背景色変更"));
    background->setObjectName(QStringLiteral("BWchange"));
    m_bgBlack = add(background, "mBgBlack", QStringLiteral("黒"));
    m_bgWhite = add(background, "mBgWhite", QStringLiteral("白"));
    m_bgBlack->setCheckable(true);
    m_bgWhite->setCheckable(true);
    m_bgBlack->setChecked(true);
    connect(m_bgBlack, &QAction::triggered, this, &TForm1::mBgBlackClick);
    connect(m_bgWhite, &QAction::triggered, this, &TForm1::mBgWhiteClick);
    connect(add(file, "Save1", QStringLiteral("JPEG画像として保存(&S)")), &QAction::triggered, this,
            &TForm1::Save1Click);
    connect(add(file, "SavePdf1", QStringLiteral("PDFとして保存…")), &QAction::triggered, this,
            [this] {
                if (m_tools.saveWorksheet) {
                    m_tools.saveWorksheet();
                }
            });
    file->addSeparator()->setObjectName(QStringLiteral("N3"));
    connect(add(file, "Quit", QStringLiteral("終了(&X)")), &QAction::triggered, this,
            &QWidget::close);
    QMenu* edit = bar->addMenu(QStringLiteral("編集(&E)"));
    edit->setObjectName(QStringLiteral("Edit1"));
    // The key itself belongs to EditCopy1, which works in full screen too; the menu only
    // shows it.
    connect(add(edit, "Copy1", QStringLiteral("コピー(&C)\tCtrl+C")), &QAction::triggered, this,
            &TForm1::Copy1Click);
    m_screenMenu = bar->addMenu(QStringLiteral("表示先"));
    m_screenMenu->setObjectName(QStringLiteral("ScreenMenu"));
}

void TForm1::buildScreenMenu()
{
    // One entry per monitor, by name and size; with one monitor there is nothing to choose.
    m_screenMenu->clear();
    const QList<QScreen*> screens = QGuiApplication::screens();
    m_screenMenu->menuAction()->setVisible(screens.size() > 1);
    if (screens.size() < 2) {
        return;
    }
    auto* group = new QActionGroup(m_screenMenu);
    const QScreen* current = screen();
    for (qsizetype i = 0; i < screens.size(); ++i) {
        QScreen* s = screens[i];
        QAction* a = m_screenMenu->addAction(QStringLiteral("%1 (%2×%3)")
                                                 .arg(s->name())
                                                 .arg(s->geometry().width())
                                                 .arg(s->geometry().height()));
        a->setObjectName(QStringLiteral("Screen%1").arg(i + 1));
        a->setCheckable(true);
        a->setChecked(s == current);
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, s] { moveToScreen(s); });
    }
}

QRect TForm1::placementOn(const QScreen* s) const
{
    const QRect area = s->availableGeometry();
    const QSize size =
        (m_fullScreen ? m_savedPlacement.size() : this->size()).boundedTo(area.size());
    return QRect(area.topLeft() +
                     QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2),
                 size);
}

void TForm1::moveToScreen(QScreen* s)
{
    if (!s) {
        return;
    }
    m_screenName = s->name();
    const QRect place = placementOn(s);
    winId();
    if (QWindow* window = windowHandle()) {
        window->setScreen(s);
    }
    if (m_fullScreen) {
        // Full screen stays full screen, on the new monitor; leaving it later returns to a
        // window on that monitor.
        m_savedPlacement = place;
        showNormal();
        setGeometry(s->geometry());
        showFullScreen();
        setGeometry(s->geometry());
    } else {
        setGeometry(place);
    }
    for (QAction* a : m_screenMenu->actions()) {
        a->setChecked(a->objectName() ==
                      QStringLiteral("Screen%1").arg(QGuiApplication::screens().indexOf(s) + 1));
    }
}

void TForm1::buildActions()
{
    // Window actions keep their keys while the menu is hidden in full screen.
    auto add = [this](const char* name, QList<QKeySequence> keys) {
        auto* a = new QAction(this);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcuts(keys);
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
        return a;
    };
    connect(add("Action1", {QKeySequence(Qt::Key_Space)}), &QAction::triggered, this,
            &TForm1::Action1Execute);
    connect(add("Action2", {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}),
            &QAction::triggered, this, &TForm1::Action2Execute);
    connect(add("EditCopy1", {QKeySequence(Qt::CTRL | Qt::Key_C)}), &QAction::triggered, this,
            &TForm1::Copy1Click);
    connect(add("Undo1", {QKeySequence(Qt::CTRL | Qt::Key_Z)}), &QAction::triggered, this,
            &TForm1::Undo1Execute);
    // A presentation remote sends Page Down and Page Up: the lesson's presets of the current
    // figure, one after another, without touching the Draw tool.
    connect(add("NextPreset", {QKeySequence(Qt::Key_PageDown)}), &QAction::triggered, this, [this] {
        if (m_tools.stepPreset) {
            m_tools.stepPreset(1);
        }
    });
    connect(add("PreviousPreset", {QKeySequence(Qt::Key_PageUp)}), &QAction::triggered, this,
            [this] {
                if (m_tools.stepPreset) {
                    m_tools.stepPreset(-1);
                }
            });
}

void TForm1::setBackgroundChecks(bool white)
{
    m_state.BWflag = white;
    m_bgWhite->setChecked(white);
    m_bgBlack->setChecked(!white);
}

void TForm1::setRenderer(int kind, Renderer renderer)
{
    if (kind >= 0 && kind < figures::kFigureCount) {
        m_renderers[kind] = std::move(renderer);
    }
}

render::Canvas& TForm1::canvas()
{
    return m_paintBox->canvas();
}

render::Frame TForm1::frame() const
{
    // Layout: the window's outer width and its client height (equal to the client area in
    // full screen).
    return render::Frame{frameGeometry().width(), m_paintBox->height(), m_state.BWflag};
}

void TForm1::drawFigure(int kind)
{
    if (kind < 0 || kind >= figures::kFigureCount || !m_renderers[kind]) {
        return;
    }
    // A figure drawn anew erases what was drawn over it, for good.
    m_annotation.forget();
    m_paintBox->fitCanvas(render::backgroundColor(m_state.BWflag));
    m_renderers[kind](m_paintBox->canvas(), frame());
    m_paintBox->update();
}

void TForm1::showError(const QString& message)
{
    if (m_state.showError) {
        m_state.showError(message);
    }
}

void TForm1::showPicture()
{
    drawFigure(figures::pictureKind());
}

QSize TForm1::clientSize() const
{
    return m_paintBox->size();
}

void TForm1::drawGuarded()
{
    try {
        redraw();
    } catch (const std::exception& e) {
        qWarning("Koyomiplan: drawing failed, closing: %s", e.what());
        close();
    }
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        drawGuarded();
    }
}

void TForm1::setBackground(bool white)
{
    setBackgroundChecks(white);
    if (m_tools.colorInit) {
        m_tools.colorInit(white);
    }
    redraw();
}

QImage TForm1::snapshot() const
{
    return centralWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QString TForm1::defaultSavePath()
{
    QFileDialog dialog(this);
    dialog.setObjectName(QStringLiteral("SavePictureDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(nameFiltersFrom(QString::fromUtf8(kSaveFilter)));
    dialog.setDefaultSuffix(QStringLiteral("jpg"));
    // A name typed without an extension takes the one of the chosen kind of file.
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        const qsizetype dot = filter.lastIndexOf(QStringLiteral("*."));
        if (dot >= 0) {
            dialog.setDefaultSuffix(filter.mid(dot + 2).remove(u')').trimmed());
        }
    });
    dialog.selectFile(QStringLiteral("名称未設定"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().front();
}

void TForm1::Save1Click()
{
    // The snapshot is taken before the dialog opens, so the dialog is not in the picture.
    const QImage shot = snapshot();
    QString path = askSavePath ? askSavePath() : defaultSavePath();
    if (path.isEmpty()) {
        return;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".jpg");
    }
    // The extension decides: PNG keeps every pixel (thin one-pixel lines stay sharp), every
    // other name is written as JPEG, as it always was.
    QByteArray bytes;
    if (QFileInfo(path).suffix().compare(QStringLiteral("png"), Qt::CaseInsensitive) == 0) {
        QBuffer buffer(&bytes);
        if (!buffer.open(QIODevice::WriteOnly) || !shot.save(&buffer, "PNG")) {
            m_state.showError(QStringLiteral("PNG画像を作れませんでした。"));
            return;
        }
    } else {
        try {
            bytes = render::JpegEncoder(90).encode(shot);
        } catch (const render::JpegError& e) {
            m_state.showError(QString::fromUtf8(e.what()));
            return;
        }
    }
    QSaveFile file(path);
    const bool ok =
        file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (!ok) {
        m_state.showError(
            QStringLiteral("「%1」に保存できませんでした。\n%2").arg(path, file.errorString()));
    }
}

void TForm1::Copy1Click()
{
    QGuiApplication::clipboard()->setImage(snapshot());
}

void TForm1::Action1Execute()
{
    if (!m_fullScreen) {
        m_savedPlacement = geometry();
        m_fullScreen = true;
        menuBar()->hide();
        showFullScreen();
    } else {
        // The place before full screen, unless its monitor has gone (a projector unplugged
        // meanwhile): then a window of the remembered size, whole on the monitor it is on now.
        std::vector<QRect> screens;
        for (const QScreen* s : QGuiApplication::screens()) {
            screens.push_back(s->availableGeometry());
        }
        const QRect place = widgets::mostlyOnAScreen(m_savedPlacement, screens) || !screen()
                                ? m_savedPlacement
                                : placementOn(screen());
        m_fullScreen = false;
        menuBar()->show();
        showNormal();
        setGeometry(place);
    }
}

void TForm1::Action2Execute()
{
    if (figures::showsAFile(m_state.FigureKind) && m_tools.advancePicture) {
        m_tools.advancePicture();
    }
}

void TForm1::PaintBox1MouseDown(Qt::MouseButton button, int x, int y)
{
    const int w = m_paintBox->width();
    const int h = m_paintBox->height();
    if (x < kHotCorner && y > h - kHotCorner) {
        if (m_tools.showPaintTool) {
            m_tools.showPaintTool();
        }
        return;
    }
    if (x > w - kHotCorner && y > h - kHotCorner) {
        if (m_tools.showDrawTool) {
            m_tools.showDrawTool();
        }
        return;
    }
    if (button == Qt::LeftButton) {
        m_annotation.press(m_paintBox->canvas(), QPoint(x, y));
        m_paintBox->update(m_annotation.changed());
    }
}

void TForm1::PaintBox1MouseMove(int x, int y)
{
    if (m_annotation.dragging()) {
        m_annotation.move(m_paintBox->canvas(), QPoint(x, y), m_state.BWflag);
        m_paintBox->update(m_annotation.changed());
    }
}

void TForm1::PaintBox1MouseUp(Qt::MouseButton button, int x, int y)
{
    if (button == Qt::LeftButton && m_annotation.dragging()) {
        m_annotation.release(m_paintBox->canvas(), QPoint(x, y));
        m_paintBox->update(m_annotation.changed());
    }
}

void TForm1::Undo1Execute()
{
    if (m_annotation.undo(m_paintBox->canvas())) {
        m_paintBox->update();
    }
}

QStringList nameFiltersFrom(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        filters.append(parts[i]);
    }
    return filters;
}

} // namespace koyomi::app
