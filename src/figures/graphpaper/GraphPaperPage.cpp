#include "figures/graphpaper/GraphPaperPage.h"

#include "figures/Record.h"
#include "render/Palette.h"
#include "render/Text.h"
#include "widgets/RowPictures.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>

namespace koyomi::figures {

using widgets::Redrawer;
using widgets::RowPicture;

namespace {

// One line class: its picture and the numbers of its kind, width and colour controls.
struct LineRow
{
    RowPicture picture;
    int kind, width, color;
    int defaultKind;
};

// In panel order, which is also the order of the preset record.
constexpr LineRow kLineRows[] = {
    {RowPicture::WholeGrid, 9, 5, 10, 0},         {RowPicture::OuterSquare, 7, 6, 11, 0},
    {RowPicture::TopSide, 1, 7, 12, 0},           {RowPicture::BottomSide, 3, 8, 13, 0},
    {RowPicture::LeftSide, 4, 9, 14, 0},          {RowPicture::RightSide, 6, 10, 15, 0},
    {RowPicture::InnerCross, 8, 11, 16, 0},       {RowPicture::HorizontalBar, 2, 12, 17, 0},
    {RowPicture::VerticalBar, 5, 13, 18, 0},      {RowPicture::RisingDiagonal, 53, 88, 56, 5},
    {RowPicture::FallingDiagonal, 61, 89, 57, 5},
};

// One emphasis row: check box, skip, kind, width and colour, in record order.
struct EmphasisControls
{
    int check, skip, kind, width, color;
};

constexpr EmphasisControls kEmphasisRows[] = {
    {1, 17, 19, 16, 20}, {2, 18, 21, 19, 22}, {3, 20, 23, 21, 24}, {4, 22, 25, 23, 26}};

// Master rows: a handler copies its control's value into these.
struct Copy
{
    int from;
    std::initializer_list<int> into;
};

const Copy kSpinCopies[] = {{14, {3, 4}},
                            {15, {1, 2}},
                            {5, {6, 7, 8, 9, 10, 11, 12, 13}},
                            {6, {7, 8, 9, 10}},
                            {11, {12, 13}}};
const Copy kComboCopies[] = {
    {9, {1, 2, 3, 4, 5, 6, 7, 8}},          {7, {1, 3, 4, 6}},      {8, {2, 5}},
    {10, {11, 12, 13, 14, 15, 16, 17, 18}}, {11, {12, 13, 14, 15}}, {16, {17, 18}},
};

// The master row whose handler copies control n, if any.
template <std::size_t N> const Copy* copyFrom(const Copy (&copies)[N], int n)
{
    for (const Copy& c : copies) {
        if (c.from == n) {
            return &c;
        }
    }
    return nullptr;
}

// The emphasis row whose control `a` or `b` is control n, if any.
const EmphasisControls* emphasisRowOf(int n, int EmphasisControls::*a, int EmphasisControls::*b)
{
    for (const EmphasisControls& e : kEmphasisRows) {
        if (e.*a == n || e.*b == n) {
            return &e;
        }
    }
    return nullptr;
}

// The record's values after the head, in order: spin edits (S), selectors (C), check
// boxes (K). The label text follows them.
struct Field
{
    char type;
    int number;
};

std::vector<Field> recordLayout()
{
    std::vector<Field> fields;
    for (int n : {14, 15, 3, 1, 4, 2, 24, 25, 26, 27}) {
        fields.push_back({'S', n});
    }
    for (const LineRow& row : kLineRows) {
        fields.insert(fields.end(), {{'C', row.kind}, {'S', row.width}, {'C', row.color}});
    }
    for (const EmphasisControls& e : kEmphasisRows) {
        fields.insert(
            fields.end(),
            {{'K', e.check}, {'S', e.skip}, {'C', e.kind}, {'S', e.width}, {'C', e.color}});
    }
    fields.insert(fields.end(), {{'C', 82}, {'S', 97}, {'S', 99}, {'S', 98}, {'C', 83}});
    return fields;
}

// The most labels one block can have: (1000 − 1) × (1000 − 1) cells.
constexpr long long kMaxCells = 999LL * 999LL;

} // namespace

GraphPaperPage::GraphPaperPage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
                               QWidget* parent)
    : FigurePage(kind, host, redrawer, parent)
{
    QFrame* panels[4];
    for (QFrame*& p : panels) {
        p = panel();
    }
    buildGeometryPanel(panels[0]);
    buildLinePanel(panels[1]);
    buildEmphasisPanel(panels[2]);
    buildLabelPanel(panels[3]);
    connectHandlers();
}

QGridLayout* GraphPaperPage::startPanel(QWidget* p, int reset,
                                        std::initializer_list<std::pair<int, const char*>> captions)
{
    return FigurePage::startPanel(p, m_reset[reset], QStringLiteral("hougan%1").arg(reset),
                                  captions);
}

void GraphPaperPage::buildGeometryPanel(QWidget* p)
{
    QGridLayout* grid = startPanel(p, 1, {{2, "本数"}, {3, "間隔"}, {5, "個数"}, {6, "間隔"}});
    const struct
    {
        RowPicture picture;
        int count, spacing;
    } lineRows[] = {{RowPicture::Cross, 14, 15},
                    {RowPicture::HorizontalBar, 3, 1},
                    {RowPicture::VerticalBar, 4, 2}};
    for (int r = 0; r < 3; ++r) {
        const auto& row = lineRows[r];
        grid->addWidget(widgets::rowPictureLabel(row.picture, p), r + 1, 1);
        grid->addWidget(numberedSpin(m_spin, row.count, 1, 1000, 10), r + 1, 2);
        grid->addWidget(numberedSpin(m_spin, row.spacing, 1, 1000, 50), r + 1, 3);
    }
    const struct
    {
        RowPicture picture;
        int count, gap;
    } blockRows[] = {{RowPicture::BoxesAcross, 24, 25}, {RowPicture::BoxesDown, 26, 27}};
    for (int r = 0; r < 2; ++r) {
        const auto& row = blockRows[r];
        grid->addWidget(widgets::rowPictureLabel(row.picture, p), r + 1, 4);
        // The block counts and gaps take at most three typed characters.
        grid->addWidget(numberedSpin(m_spin, row.count, 1, 500, 1, 3), r + 1, 5);
        grid->addWidget(numberedSpin(m_spin, row.gap, 0, 500, 10, 3), r + 1, 6);
    }
}

void GraphPaperPage::buildLinePanel(QWidget* p)
{
    QGridLayout* grid = startPanel(p, 2, {{2, "線種"}, {3, "線幅"}, {4, "色"}});
    int r = 1;
    for (const LineRow& row : kLineRows) {
        grid->addWidget(widgets::rowPictureLabel(row.picture, p), r, 1);
        grid->addWidget(numberedLineCombo(m_combo, row.kind, row.defaultKind), r, 2);
        // The width of the row that sets all lines takes one typed character.
        grid->addWidget(numberedSpin(m_spin, row.width, 1, 5, 1, row.width == 5 ? 1 : 0), r, 3);
        grid->addWidget(numberedColorCombo(m_combo, row.color), r, 4);
        ++r;
    }
}

void GraphPaperPage::buildEmphasisPanel(QWidget* p)
{
    QGridLayout* grid = startPanel(p, 3, {{3, "飛び"}, {4, "線種"}, {5, "線幅"}, {6, "色"}});
    // The check boxes' caption is wider than a check box: it spans the pictures too.
    grid->addWidget(caption("ON/OFF", p), 0, 1, 1, 2, Qt::AlignRight | Qt::AlignBottom);
    int r = 1;
    for (const EmphasisControls& e : kEmphasisRows) {
        const RowPicture picture = r <= 2 ? RowPicture::HorizontalLines : RowPicture::VerticalLines;
        grid->addWidget(widgets::rowPictureLabel(picture, p), r, 1);
        m_check[e.check] = check(qPrintable(QStringLiteral("CheckBox%1").arg(e.check)));
        grid->addWidget(m_check[e.check], r, 2);
        grid->addWidget(numberedSpin(m_spin, e.skip, 1, 500, 1), r, 3);
        grid->addWidget(numberedLineCombo(m_combo, e.kind, render::kSolidIndex), r, 4);
        grid->addWidget(numberedSpin(m_spin, e.width, 1, 5, 1), r, 5);
        grid->addWidget(numberedColorCombo(m_combo, e.color), r, 6);
        ++r;
    }
}

void GraphPaperPage::buildLabelPanel(QWidget* p)
{
    QGridLayout* grid =
        startPanel(p, 4, {{2, "有無"}, {3, "初期値"}, {4, "増減"}, {5, "大きさ"}, {6, "色"}});
    grid->addWidget(widgets::rowPictureLabel(RowPicture::Text, p, QStringLiteral("文字")), 1, 1);
    m_combo[82] = new widgets::FittedComboBox(p);
    m_combo[82]->setObjectName(QStringLiteral("ComboBox82"));
    m_combo[82]->addItems({QStringLiteral("なし"), QStringLiteral("あり")});
    m_combo[82]->setCurrentIndex(0);
    grid->addWidget(m_combo[82], 1, 2);
    grid->addWidget(numberedSpin(m_spin, 97, -10000, 10000, 1), 1, 3);
    grid->addWidget(numberedSpin(m_spin, 99, -10000, 10000, 1), 1, 4);
    grid->addWidget(numberedSpin(m_spin, 98, 10, 100, 10), 1, 5);
    grid->addWidget(numberedColorCombo(m_combo, 83), 1, 6);
    m_memo = new QPlainTextEdit(p);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Generated labels are one line without blanks; breaking it at word boundaries first
    // takes time that grows with the square of its length (seconds for the largest block),
    // breaking it anywhere takes time in proportion.
    m_memo->setWordWrapMode(QTextOption::WrapAnywhere);
    m_memo->setFixedHeight(48);
    grid->addWidget(m_memo, 2, 1, 1, 6);
    m_memoNote = new QLabel(QStringLiteral("長いため先頭だけを表示しています。ここでは編集できませ"
                                           "ん（初期値か増減を変えるか、初期化で作り直せます）"),
                            p);
    m_memoNote->setObjectName(QStringLiteral("MemoNote"));
    m_memoNote->setWordWrap(true);
    m_memoNote->hide();
    grid->addWidget(m_memoNote, 3, 1, 1, 6);
}

void GraphPaperPage::connectHandlers()
{
    // Spin edits: the common rule, after the copies of the master rows.
    for (int n = 1; n < 100; ++n) {
        Spin* s = m_spin[n];
        if (!s) {
            continue;
        }
        const Copy* copy = copyFrom(kSpinCopies, n);
        const EmphasisControls* row =
            emphasisRowOf(n, &EmphasisControls::skip, &EmphasisControls::width);
        connect(s, &Spin::changed, this, [this, s, n, copy, row] {
            Redrawer::Scope scope(redrawer());
            if (s->text().isEmpty()) {
                s->setText(QStringLiteral("1"));
            }
            if (copy) {
                for (int target : copy->into) {
                    m_spin[target]->setText(s->text());
                }
            }
            if (n == 97 || n == 99) {
                try {
                    FillNumberText();
                } catch (const EConvertError& e) {
                    // The label text and the drawing stay as they were.
                    host().showError(QString::fromUtf8(e.what()));
                    return;
                }
            }
            if (!row || m_check[row->check]->isChecked()) {
                scope.request(kind());
            }
        });
    }
    for (int n = 1; n < 110; ++n) {
        Combo* c = m_combo[n];
        if (!c) {
            continue;
        }
        const Copy* copy = copyFrom(kComboCopies, n);
        const EmphasisControls* row =
            emphasisRowOf(n, &EmphasisControls::kind, &EmphasisControls::color);
        connect(c, &QComboBox::activated, this, [this, c, copy, row] {
            Redrawer::Scope scope(redrawer());
            if (copy) {
                for (int target : copy->into) {
                    m_combo[target]->setCurrentIndex(c->currentIndex());
                }
            }
            if (!row || m_check[row->check]->isChecked()) {
                scope.request(kind());
            }
        });
    }
    for (int n = 1; n <= 4; ++n) {
        connect(m_check[n], &QCheckBox::toggled, this, [this] { requestRedraw(); });
    }
    // Typed, pasted or set from outside: the box holds the whole text.
    connect(m_memo, &QPlainTextEdit::textChanged, this, [this] {
        m_labelText = m_memo->toPlainText();
        m_memo->setReadOnly(false);
        m_memoNote->hide();
        requestRedraw();
    });
    connect(m_reset[1], &widgets::ResetButton::clicked, this, &GraphPaperPage::hougan1Click);
    connect(m_reset[2], &widgets::ResetButton::clicked, this, &GraphPaperPage::hougan2Click);
    connect(m_reset[3], &widgets::ResetButton::clicked, this, &GraphPaperPage::hougan3Click);
    connect(m_reset[4], &widgets::ResetButton::clicked, this, &GraphPaperPage::hougan4Click);
}

GraphPaperParams GraphPaperPage::params() const
{
    auto line = [this](int kind, int width, int color) {
        return lineSetting(m_combo, m_spin, kind, width, color);
    };
    GraphPaperParams p;
    p.hLineCount = m_spin[3]->value();
    p.hLineSpacing = m_spin[1]->value();
    p.vLineCount = m_spin[4]->value();
    p.vLineSpacing = m_spin[2]->value();
    p.countAcross = m_spin[24]->value();
    p.gapAcross = m_spin[25]->value();
    p.countDown = m_spin[26]->value();
    p.gapDown = m_spin[27]->value();
    p.topSide = line(1, 7, 12);
    p.bottomSide = line(3, 8, 13);
    p.leftSide = line(4, 9, 14);
    p.rightSide = line(6, 10, 15);
    p.innerHLines = line(2, 12, 17);
    p.innerVLines = line(5, 13, 18);
    p.risingDiagonals = line(53, 88, 56);
    p.fallingDiagonals = line(61, 89, 57);
    for (int i = 0; i < 4; ++i) {
        const EmphasisControls& e = kEmphasisRows[i];
        p.emphasis[i] = EmphasisRow{m_check[e.check]->isChecked(), m_spin[e.skip]->value(),
                                    line(e.kind, e.width, e.color)};
    }
    p.numberingOn = m_combo[82]->currentIndex() == 1;
    p.numberSize = m_spin[98]->value();
    p.numberColor = m_combo[83]->currentIndex();
    p.numberText = m_labelText;
    return p;
}

void GraphPaperPage::render(render::Canvas& canvas, const render::Frame& frame)
{
    drawGraphPaper(canvas, params(), frame, &host().figureCaches());
}

void GraphPaperPage::FillNumberText()
{
    const int start = toInteger(m_spin[97]->text());
    const int step = toInteger(m_spin[99]->text());
    // Cells of one block; a count typed far beyond the fields' ranges is held to the most a
    // block can have, so the text stays a size the program can hold.
    const long long cells = std::clamp((static_cast<long long>(m_spin[3]->value()) - 1) *
                                           (static_cast<long long>(m_spin[4]->value()) - 1),
                                       0LL, kMaxCells);
    // Room for the longest number and its comma each: the numbers run from the first to the
    // last unless they wrap, and then may take 11 characters ("-2147483648").
    const long long last = static_cast<long long>(start) + std::max(cells - 1, 0LL) * step;
    const bool wraps = last < INT32_MIN || last > INT32_MAX;
    const long long widest =
        wraps ? -static_cast<long long>(INT32_MIN)
              : std::max(std::abs(static_cast<long long>(start)), std::abs(last));
    qsizetype perNumber = (start < 0 || last < 0 || wraps ? 1 : 0) + 2; // sign, digit, comma
    for (long long rest = widest; rest >= 10; rest /= 10) {
        ++perNumber;
    }
    QString text(static_cast<qsizetype>(cells) * perNumber, Qt::Uninitialized);
    // 32-bit arithmetic that wraps, as the numbers always have.
    std::uint32_t value = static_cast<std::uint32_t>(start);
    // Written digit by digit straight into the text: a million numbers, each made a string
    // of its own first, cost a million allocations, and appending each, a tenth of the fill.
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (long long i = 0; i < cells; ++i) {
        const auto number = static_cast<std::int32_t>(value);
        auto magnitude = static_cast<std::uint32_t>(number < 0 ? 0U - value : value);
        if (number < 0) {
            *out++ = u'-';
        }
        int digits = 1;
        for (std::uint32_t rest = magnitude; rest >= 10; rest /= 10) {
            ++digits;
        }
        out += digits;
        char16_t* digit = out;
        // Two digits at a time: the divisions are most of the work.
        static constexpr auto kPairs = [] {
            std::array<char16_t, 200> pairs{};
            for (int k = 0; k < 100; ++k) {
                pairs[std::size_t(2 * k)] = char16_t(u'0' + k / 10);
                pairs[std::size_t(2 * k + 1)] = char16_t(u'0' + k % 10);
            }
            return pairs;
        }();
        while (magnitude >= 100) {
            const std::uint32_t pair = magnitude % 100;
            magnitude /= 100;
            *--digit = kPairs[2 * pair + 1];
            *--digit = kPairs[2 * pair];
        }
        if (magnitude >= 10) {
            *--digit = kPairs[2 * magnitude + 1];
            *--digit = kPairs[2 * magnitude];
        } else {
            *--digit = char16_t(u'0' + magnitude);
        }
        *out++ = u',';
        value += static_cast<std::uint32_t>(step);
    }
    text.truncate(out - reinterpret_cast<const char16_t*>(text.constData()));
    setLabelText(std::move(text));
}

void GraphPaperPage::setLabelText(QString text)
{
    // Up to this many characters the box lays its text out in a few milliseconds.
    constexpr qsizetype kEditableChars = 100'000;
    constexpr qsizetype kShownChars = 10'000;
    m_labelText = std::move(text);
    const bool whole = m_labelText.size() <= kEditableChars;
    {
        const QSignalBlocker quiet(m_memo);
        m_memo->setPlainText(whole ? m_labelText : m_labelText.first(kShownChars));
    }
    m_memo->setReadOnly(!whole);
    m_memoNote->setVisible(!whole);
    requestRedraw();
}

void GraphPaperPage::resetColor(Combo* combo)
{
    combo->setCurrentIndex(render::defaultColorIndex(host().whiteBackground()));
}

void GraphPaperPage::hougan1Click()
{
    Redrawer::Scope scope(redrawer());
    setSpinTexts(m_spin, {{14, "10"},
                          {15, "50"},
                          {3, "10"},
                          {1, "50"},
                          {4, "10"},
                          {2, "50"},
                          {24, "1"},
                          {25, "10"},
                          {26, "1"},
                          {27, "10"}});
    scope.request(kind());
}

void GraphPaperPage::hougan2Click()
{
    Redrawer::Scope scope(redrawer());
    for (const LineRow& row : kLineRows) {
        m_spin[row.width]->setText(QStringLiteral("1"));
    }
    for (const LineRow& row : kLineRows) {
        m_combo[row.kind]->setCurrentIndex(row.defaultKind);
    }
    for (const LineRow& row : kLineRows) {
        resetColor(m_combo[row.color]);
    }
    scope.request(kind());
}

void GraphPaperPage::hougan3Click()
{
    Redrawer::Scope scope(redrawer());
    for (const EmphasisControls& e : kEmphasisRows) {
        m_check[e.check]->setChecked(false);
    }
    for (int n = 16; n <= 23; ++n) {
        m_spin[n]->setText(QStringLiteral("1"));
    }
    for (const EmphasisControls& e : kEmphasisRows) {
        m_combo[e.kind]->setCurrentIndex(render::kSolidIndex);
        resetColor(m_combo[e.color]);
    }
    scope.request(kind());
}

void GraphPaperPage::hougan4Click()
{
    Redrawer::Scope scope(redrawer());
    m_combo[82]->setCurrentIndex(0);
    m_spin[97]->setText(QStringLiteral("1"));
    m_spin[98]->setText(QStringLiteral("10"));
    m_spin[99]->setText(QStringLiteral("1"));
    resetColor(m_combo[83]);
    setLabelText(QString());
    scope.request(kind());
}

QStringList GraphPaperPage::recordFields() const
{
    QStringList values;
    for (const Field& f : recordLayout()) {
        switch (f.type) {
        case 'S':
            // Typed texts are digits; anything else is quoted so the record stays readable.
            values.append(render::quoteCommaItem(m_spin[f.number]->text()));
            break;
        case 'C':
            values.append(QString::number(m_combo[f.number]->currentIndex()));
            break;
        default:
            values.append(m_check[f.number]->isChecked() ? QStringLiteral("1")
                                                         : QStringLiteral("0"));
            break;
        }
    }
    // The label text: its first line only (a record is one line of the library file), commas
    // as colons, and quoted only when it has blanks or quotes, so that plain texts are
    // written as they always were and every text reads back whole. Then a closing comma.
    QString text = m_labelText.section(u'\n', 0, 0);
    if (text.endsWith(u'\r')) {
        text.chop(1);
    }
    text.replace(u',', u':');
    values.append(render::quoteCommaItem(text) + u',');
    return values;
}

void GraphPaperPage::applyRecordFields(const QStringList& fields)
{
    Redrawer::Scope scope(redrawer());
    const std::vector<Field> layout = recordLayout();
    const qsizetype count = std::min<qsizetype>(fields.size(), qsizetype(layout.size()));
    for (qsizetype i = 0; i < count; ++i) {
        const Field& f = layout[std::size_t(i)];
        switch (f.type) {
        case 'S':
            m_spin[f.number]->setStoredText(fields[i]);
            break;
        case 'C':
            m_combo[f.number]->setCurrentIndex(toInteger(fields[i]));
            break;
        default:
            m_check[f.number]->setChecked(fields[i] == QStringLiteral("1"));
            break;
        }
    }
    if (fields.size() > qsizetype(layout.size())) {
        QString text = fields[qsizetype(layout.size())];
        setLabelText(text.replace(u':', u','));
    }
    scope.request(kind());
}

} // namespace koyomi::figures
