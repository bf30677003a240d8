#include "figures/graphpaper/GraphPaperPage.h"

#include "widgets/RowPictures.h"

#include <QCheckBox>

namespace koyomi::figures {

using namespace graphpaper;
using widgets::RowPicture;

GraphPaperPage::GraphPaperPage(int kind, widgets::FigureHost& host, widgets::Redrawer& redrawer,
                               QWidget* parent)
    : TablePage(kind, graphPaperFields(), host, redrawer, parent)
{
    QFrame* panels[4];
    for (QFrame*& p : panels) {
        p = panel();
    }
    buildGeometryPanel(panels[0]);
    buildLinePanel(panels[1]);
    buildEmphasisPanel(panels[2]);
    buildLabelPanel(panels[3]);
}

void GraphPaperPage::buildGeometryPanel(QWidget* p)
{
    QGridLayout* grid = startPanel(p, 1, {{2, "本数"}, {3, "間隔"}, {5, "個数"}, {6, "間隔"}});
    const struct
    {
        RowPicture picture;
        int first, second;
    } rows[] = {
        {RowPicture::Cross, BothCounts, BothSpacings},
        {RowPicture::HorizontalBar, HCount, HSpacing},
        {RowPicture::VerticalBar, VCount, VSpacing},
        {RowPicture::BoxesAcross, CountAcross, GapAcross},
        {RowPicture::BoxesDown, CountDown, GapDown},
    };
    for (int r = 0; r < 5; ++r) {
        // Lines in the first three columns, blocks beside them.
        const int line = r < 3 ? r + 1 : r - 2;
        const int column = r < 3 ? 1 : 4;
        grid->addWidget(widgets::rowPictureLabel(rows[r].picture, p), line, column);
        grid->addWidget(place(rows[r].first), line, column + 1);
        grid->addWidget(place(rows[r].second), line, column + 2);
    }
}

void GraphPaperPage::buildLinePanel(QWidget* p)
{
    static constexpr widgets::FieldLineRow kRows[] = {
        {RowPicture::WholeGrid, nullptr, AllKind, AllWidth, AllColor},
        {RowPicture::OuterSquare, nullptr, OutlineKind, OutlineWidth, OutlineColor},
        {RowPicture::TopSide, nullptr, TopKind, TopWidth, TopColor},
        {RowPicture::BottomSide, nullptr, BottomKind, BottomWidth, BottomColor},
        {RowPicture::LeftSide, nullptr, LeftKind, LeftWidth, LeftColor},
        {RowPicture::RightSide, nullptr, RightKind, RightWidth, RightColor},
        {RowPicture::InnerCross, nullptr, InnerKind, InnerWidth, InnerColor},
        {RowPicture::HorizontalBar, nullptr, InnerHKind, InnerHWidth, InnerHColor},
        {RowPicture::VerticalBar, nullptr, InnerVKind, InnerVWidth, InnerVColor},
        {RowPicture::RisingDiagonal, nullptr, RisingKind, RisingWidth, RisingColor},
        {RowPicture::FallingDiagonal, nullptr, FallingKind, FallingWidth, FallingColor},
    };
    QGridLayout* grid = startPanel(p, 2, {{2, "線種"}, {3, "線幅"}, {4, "色"}});
    addLineRows(grid, p, kRows);
}

void GraphPaperPage::buildEmphasisPanel(QWidget* p)
{
    QGridLayout* grid = startPanel(p, 3, {{3, "飛び"}, {4, "線種"}, {5, "線幅"}, {6, "色"}});
    // The check boxes' caption is wider than a check box: it spans the pictures too.
    grid->addWidget(caption("ON/OFF", p), 0, 1, 1, 2, Qt::AlignRight | Qt::AlignBottom);
    for (int r = 1; r <= 4; ++r) {
        const RowPicture picture = r <= 2 ? RowPicture::HorizontalLines : RowPicture::VerticalLines;
        grid->addWidget(widgets::rowPictureLabel(picture, p), r, 1);
        const int on = Emphasis1On + kEmphasisFields * (r - 1);
        for (int i = 0; i < kEmphasisFields; ++i) {
            grid->addWidget(place(on + i), r, 2 + i);
        }
    }
}

void GraphPaperPage::buildLabelPanel(QWidget* p)
{
    QGridLayout* grid =
        startPanel(p, 4, {{2, "有無"}, {3, "初期値"}, {4, "増減"}, {5, "大きさ"}, {6, "色"}});
    grid->addWidget(widgets::rowPictureLabel(RowPicture::Text, p, QStringLiteral("文字")), 1, 1);
    int column = 2;
    for (int f : {NumbersOn, NumberStart, NumberStep, NumberSize, NumberColor}) {
        grid->addWidget(place(f), 1, column++);
    }
    m_memo = new QPlainTextEdit(p);
    m_memo->setObjectName(QString::fromLatin1(field(Labels).name));
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
    // Typed, pasted or set from outside: the box holds the whole text.
    connect(m_memo, &QPlainTextEdit::textChanged, this, [this] {
        m_labelText = m_memo->toPlainText();
        m_memo->setReadOnly(false);
        m_memoNote->hide();
        fieldChanged(Labels);
    });
}

void GraphPaperPage::setLabelsText(const QString& text)
{
    // Up to this many characters the box lays its text out in a few milliseconds.
    constexpr qsizetype kEditableChars = 100'000;
    constexpr qsizetype kShownChars = 10'000;
    m_labelText = text;
    const bool whole = m_labelText.size() <= kEditableChars;
    {
        const QSignalBlocker quiet(m_memo);
        m_memo->setPlainText(whole ? m_labelText : m_labelText.first(kShownChars));
    }
    m_memo->setReadOnly(!whole);
    m_memoNote->setVisible(!whole);
    fieldChanged(Labels);
}

} // namespace koyomi::figures
