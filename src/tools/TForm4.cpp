#include "tools/TForm4.h"

#include "render/Color.h"
#include "state/SettingsFile.h"
#include "widgets/ToolPlacement.h"

#include <QButtonGroup>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>

#include <algorithm>
#include <exception>

namespace koyomi::tools {

namespace {

constexpr int kClientWidth = 60;
constexpr int kClientHeight = 432;
constexpr widgets::ToolWindowKeys kPlacementKeys{"Painttop", "Paintleft", "Paintclearness"};
constexpr int kCellWidth = 26;
constexpr int kCellHeight = 13; // from one cell's top to the next (cells share borders)

// A small widget that shows a picture made by a function and reports presses.
class PictureBox : public QWidget
{
public:
    PictureBox(const char* name, std::function<QImage(QSize)> picture,
               std::function<void(QPoint)> pressed, QWidget* parent)
        : QWidget(parent), m_picture(std::move(picture)), m_pressed(std::move(pressed))
    {
        setObjectName(QString::fromLatin1(name));
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, m_picture(size())); }
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton) {
            m_pressed(event->position().toPoint());
        }
    }

private:
    std::function<QImage(QSize)> m_picture;
    std::function<void(QPoint)> m_pressed;
};

// The tool buttons' glyphs, 20 × 20, drawn in the button text's colour.
QIcon toolGlyph(int tool, QColor ink)
{
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    switch (tool) {
    case kFreehand: {
        QPainterPath path(QPointF(2, 14));
        path.cubicTo(5, 2, 9, 2, 10, 10);
        path.cubicTo(11, 18, 16, 17, 18, 5);
        p.drawPath(path);
        break;
    }
    case kLine:
        p.drawLine(QPointF(3, 17), QPointF(17, 3));
        break;
    case kRectangle:
        p.drawRect(QRectF(3, 5, 14, 10));
        break;
    case kFilledRectangle:
        p.setBrush(ink);
        p.drawRect(QRectF(3, 5, 14, 10));
        break;
    case kEllipse:
        p.drawEllipse(QRectF(2.5, 4.5, 15, 11));
        break;
    case kFilledEllipse:
        p.setBrush(ink);
        p.drawEllipse(QRectF(2.5, 4.5, 15, 11));
        break;
    case kFloodFill: {
        // A tipped bucket pouring a drop.
        const QPointF bucket[] = {{4, 9}, {10, 3}, {16, 9}, {10, 15}};
        p.drawPolygon(bucket, 4);
        p.drawLine(QPointF(7, 6), QPointF(13, 12));
        p.setBrush(ink);
        p.drawEllipse(QRectF(15, 13, 3, 4));
        break;
    }
    case kArrow: {
        p.drawLine(QPointF(3, 17), QPointF(15, 5));
        p.setBrush(ink);
        const QPointF head[] = {{17, 3}, {10, 6}, {14, 10}};
        p.drawPolygon(head, 3);
        break;
    }
    default:
        break;
    }
    return QIcon(pixmap);
}

} // namespace

int paletteIndexAt(int x, int y)
{
    if (x < 0 || y < 0) {
        return 0;
    }
    const int column = x / kCellWidth;
    const int row = y / kCellHeight;
    if (column > 1 || row > 9) {
        return 0;
    }
    return row * 2 + column + 1;
}

QImage paletteImage(QSize size, render::ColorRef border)
{
    render::Canvas c(size.width(), size.height(), render::kWhite);
    render::Pen pen;
    pen.color = border;
    c.setPen(pen);
    for (int j = 0; j < 10; ++j) {
        for (int k = 0; k < 2; ++k) {
            c.setBrush(render::Brush{kPaintPalette[std::size_t(2 * j + k + 1)], false});
            c.rectangle(26 * k - k, 14 * j - j, 26 * (k + 1) - k, 14 * (j + 1) - j);
        }
    }
    return c.image().copy();
}

QImage swatchImage(const Annotation& annotation, QSize size)
{
    render::Canvas c(size.width(), size.height(), render::kWhite);
    const int w = size.width();
    const int h = size.height();
    const QRect penSquare(QPoint(0, 0), QPoint(2 * (w / 3) + 1, 2 * (h / 3) + 1));
    const QRect fillSquare(QPoint(w / 3, h / 3), QPoint(w, h));
    const auto colorOf = [](int index) {
        return kPaintPalette[std::size_t(std::clamp(index, 1, kPaletteSize))];
    };
    // Rectangles from the corner to the far corner, the far edges excluded.
    auto square = [&c](const QRect& r, render::ColorRef color) {
        render::Pen pen;
        pen.color = render::kBlack;
        c.setPen(pen);
        c.setBrushClear(true);
        c.rectangle(r.left(), r.top(), r.right(), r.bottom());
        pen.color = render::kWhite;
        c.setPen(pen);
        c.rectangle(r.left() + 1, r.top() + 1, r.right() - 1, r.bottom() - 1);
        pen.color = color;
        c.setPen(pen);
        c.setBrush(render::Brush{color, false});
        c.rectangle(r.left() + 2, r.top() + 2, r.right() - 2, r.bottom() - 2);
    };
    const render::ColorRef penColor = colorOf(annotation.PenColorIndex);
    const render::ColorRef fillColor = colorOf(annotation.BrushColorIndex);
    if (annotation.PenTargetActive) {
        square(fillSquare, fillColor);
        square(penSquare, penColor);
    } else {
        square(penSquare, penColor);
        square(fillSquare, fillColor);
    }
    return c.image().copy();
}

TForm4::TForm4(state::AppState& state, Annotation& annotation, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_state(state), m_annotation(annotation)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Paintツール"));
    QFont f = font();
    f.setPixelSize(11);
    setFont(f);
    setFixedSize(kClientWidth, kClientHeight);
    setAttribute(Qt::WA_QuitOnClose, false);

    // The eight tools, two to a row, one down at a time.
    struct ToolButton
    {
        const char* name;
        int tool;
        int left, top;
        const char* hint;
    };
    const ToolButton buttons[] = {
        {"SpeedButton1", kFreehand, 0, 2, "フリーハンド"},
        {"SpeedButton2", kLine, 27, 2, "直線"},
        {"SpeedButton3", kRectangle, 0, 29, "四角形"},
        {"SpeedButton4", kFilledRectangle, 27, 29, "塗りつぶした四角形"},
        {"SpeedButton7", kEllipse, 0, 56, "楕円"},
        {"SpeedButton8", kFilledEllipse, 27, 56, "塗りつぶした楕円"},
        {"SpeedButton9", kFloodFill, 0, 83, "塗りつぶし"},
        {"SpeedButton5", kArrow, 27, 83, "矢印"},
    };
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    const QColor ink = palette().color(QPalette::ButtonText);
    for (const ToolButton& b : buttons) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setGeometry(b.left, b.top, 28, 28);
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setIcon(toolGlyph(b.tool, ink));
        button->setIconSize(QSize(20, 20));
        button->setToolTip(QString::fromUtf8(b.hint));
        group->addButton(button, b.tool);
    }
    group->button(kFreehand)->setChecked(true);
    m_annotation.PaintToolKind = kFreehand;
    connect(group, &QButtonGroup::idClicked, this,
            [this](int tool) { m_annotation.PaintToolKind = tool; });

    const render::ColorRef face = render::fromQRgb(palette().color(QPalette::Button).rgb());
    m_palette = new PictureBox(
        "PalBox1", [face](QSize s) { return paletteImage(s, face); },
        [this](QPoint at) { PalBox1MouseDown(at.x(), at.y()); }, this);
    m_palette->setGeometry(2, 117, 51, 131);
    m_palette->setToolTip(QStringLiteral("色 (前にある四角の色になります)"));

    m_swatch = new PictureBox(
        "PaintBox2", [this](QSize s) { return swatchImage(m_annotation, s); },
        [this](QPoint) { PaintBox2Click(); }, this);
    m_swatch->setGeometry(7, 256, 40, 40);
    m_swatch->setToolTip(QStringLiteral("左上: 線の色、右下: 塗りの色 (クリックで入れ替え)"));
    m_annotation.PenTargetActive = true;

    auto* widthCaption = new QLabel(QStringLiteral("線幅"), this);
    widthCaption->setObjectName(QStringLiteral("Label1"));
    widthCaption->setGeometry(2, 303, 30, 14);
    m_widthText = new QLabel(this);
    m_widthText->setObjectName(QStringLiteral("Label2"));
    m_widthText->setGeometry(32, 303, 26, 14);
    m_widthText->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_width = new QSlider(Qt::Horizontal, this);
    m_width->setObjectName(QStringLiteral("TrackBar1"));
    m_width->setGeometry(0, 318, 58, 24);
    m_width->setRange(1, kMaxPenWidth);
    m_width->setToolTip(QStringLiteral("線幅 1〜50"));
    connect(m_width, &QSlider::valueChanged, this, &TForm4::TrackBar1Change);
    m_width->setValue(1);
    TrackBar1Change(1);

    auto* opacityCaption = new QLabel(QStringLiteral("透明度"), this);
    opacityCaption->setObjectName(QStringLiteral("Label3"));
    opacityCaption->setGeometry(2, 346, 56, 14);
    m_opacity = new QSlider(Qt::Horizontal, this);
    m_opacity->setObjectName(QStringLiteral("TrackBar2"));
    m_opacity->setGeometry(0, 361, 58, 20);
    m_opacity->setRange(widgets::kMinToolOpacity, widgets::kMaxToolOpacity);
    m_opacity->setValue(widgets::kMaxToolOpacity);
    m_opacity->setToolTip(QStringLiteral("このウィンドウの不透明度"));
    connect(m_opacity, &QSlider::valueChanged, this, &TForm4::TrackBar2Change);

    auto* redraw = new QPushButton(QStringLiteral("ReDraw"), this);
    redraw->setObjectName(QStringLiteral("Button1"));
    redraw->setGeometry(0, 402, 55, 25);
    redraw->setToolTip(QStringLiteral("図形を描き直します (書き込みは消えます)"));
    connect(redraw, &QPushButton::clicked, this, &TForm4::Button1Click);

    restorePlacement();
}

TForm4::~TForm4()
{
    QString error;
    if (!widgets::saveToolWindow(*this, m_opacity->value(), m_state.SettingsBase, kPlacementKeys,
                                 &error)) {
        m_state.reportSettingsError(state::SettingsFile(m_state.SettingsBase).path(), error);
    }
}

void TForm4::restorePlacement()
{
    m_opacity->setValue(widgets::restoreToolWindow(*this, m_state.SettingsBase, kPlacementKeys));
    TrackBar2Change(m_opacity->value());
}

void TForm4::Button1Click()
{
    try {
        if (redrawFigure) {
            redrawFigure();
        }
    } catch (const std::exception& e) {
        qWarning("Koyomiplan: redrawing from the Paint tool failed: %s", e.what());
        close();
    }
}

void TForm4::TrackBar1Change(int position)
{
    m_annotation.PenWidth = position;
    m_widthText->setText(QString::number(position));
}

void TForm4::TrackBar2Change(int position)
{
    setWindowOpacity(position / 255.0);
}

void TForm4::PalBox1MouseDown(int x, int y)
{
    const int index = paletteIndexAt(x, y);
    if (index == 0) {
        return;
    }
    if (m_annotation.PenTargetActive) {
        m_annotation.PenColorIndex = index;
    } else {
        m_annotation.BrushColorIndex = index;
    }
    m_swatch->update();
}

void TForm4::PaintBox2Click()
{
    m_annotation.PenTargetActive = !m_annotation.PenTargetActive;
    m_swatch->update();
}

} // namespace koyomi::tools
