// Worksheets from the windows: the dialog's sizes as the teacher changes them, the current
// figure and the library's presets written as PDF pages, and what stops a worksheet.
#include "PdfReading.h"
#include "app/TForm1.h"
#include "figures/Figures.h"
#include "state/AppState.h"
#include "state/SettingsFile.h"
#include "tools/TForm2.h"
#include "tools/WorksheetDialog.h"
#include "widgets/HeadlessHost.h"
#include "widgets/SpinEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <memory>

using namespace koyomi;

namespace {

using test::pagesOf;

class WorksheetToolTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    state::AppState state;
    widgets::HeadlessHost host{400, 300};
    std::unique_ptr<tools::TForm2> form;
    std::optional<QSize> askedCell;
    int asked = 0;
    figures::WorksheetLayout layout;

    QString path(const QString& name) const { return dir.path() + "/" + name; }

    void SetUp() override
    {
        state.SettingsBase = state::settingsBaseFor(dir.path(), "koyomiplan");
        state.showError = [](const QString&) {};
        state.libraryReadPath = state.libraryWritePath = path("koyomiplan.txt");
    }

    void make(const QString& library = {})
    {
        if (!library.isEmpty()) {
            QFile f(path("koyomiplan.txt"));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(QStringEncoder("Shift_JIS").encode(library));
        }
        form = std::make_unique<tools::TForm2>(state, host);
        host.pages = &form->pages();
        form->askWorksheet = [this](std::optional<QSize> cell) {
            askedCell = cell;
            ++asked;
            return std::optional<figures::WorksheetLayout>(layout);
        };
        form->askWorksheetPath = [this] { return path("sheet"); };
    }
};

} // namespace

TEST(WorksheetDialog, ShowsTheDrawingAndTheCellAsTheValuesChange)
{
    tools::WorksheetDialog dialog(figures::WorksheetLayout{}, QSize(50, 40));
    // A4 portrait, 0.2 mm, 10 mm margins: (210 − 20) / 0.2 × (297 − 20) / 0.2.
    EXPECT_EQ(dialog.sizeText(), "950 × 1385 ピクセル");
    EXPECT_EQ(dialog.cellText(), "10.0 × 8.0 mm");
    dialog.findChild<QDoubleSpinBox*>("ScaleBox")->setValue(0.25);
    EXPECT_EQ(dialog.sizeText(), "760 × 1108 ピクセル");
    EXPECT_EQ(dialog.cellText(), "12.5 × 10.0 mm");
    dialog.findChild<QComboBox*>("PaperBox")->setCurrentText("B5");
    dialog.findChild<QComboBox*>("OrientationBox")->setCurrentIndex(1);
    dialog.findChild<QDoubleSpinBox*>("MarginBox")->setValue(0);
    EXPECT_EQ(dialog.sizeText(), "1028 × 728 ピクセル"); // 257 / 0.25 × 182 / 0.25
    dialog.findChild<QCheckBox*>("CaptionsBox")->setChecked(true);
    const figures::WorksheetLayout chosen = dialog.layout();
    EXPECT_STREQ(chosen.paper->name, "B5");
    EXPECT_TRUE(chosen.landscape);
    EXPECT_DOUBLE_EQ(chosen.mmPerPixel, 0.25);
    EXPECT_DOUBLE_EQ(chosen.marginMm, 0);
    EXPECT_TRUE(chosen.captions);
    // No cell for other figures.
    tools::WorksheetDialog other(figures::WorksheetLayout{}, std::nullopt);
    EXPECT_FALSE(other.findChild<QLabel*>("CellLabel")->isVisibleTo(&other));
}

TEST_F(WorksheetToolTest, TheCurrentFigureIsSavedWithItsCurrentSettings)
{
    make();
    state.FigureKind = 0;
    auto* spacing = form->pages()[0]->findChild<widgets::SpinEdit*>("SpinEdit15");
    spacing->setText("40"); // both spacings 40 pixels: an 8 mm cell
    form->saveCurrentAsWorksheet();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(askedCell, QSize(40, 40));
    ASSERT_TRUE(QFile::exists(path("sheet.pdf"))) << "the .pdf is added";
    const std::vector<QImage> pages = pagesOf(path("sheet.pdf"), "127", path("p"));
    ASSERT_EQ(pages.size(), 1u);
    const figures::Record record = *figures::parseRecord(form->recordOf(0, QStringLiteral("方眼")));
    EXPECT_EQ(pages[0].copy(50, 50, 950, 1385),
              figures::drawFigureImage(0, &record, QSize(950, 1385), false, true));
    // White lines on black on the screen: on paper ten black vertical lines 40 pixels apart
    // cross the middle row of the drawing, and nothing else is drawn there.
    const QImage& page = pages[0];
    std::vector<int> lines;
    for (int x = 0; x < page.width(); ++x) {
        const QRgb p = page.pixel(x, 50 + 1385 / 2 + 3);
        if (p != qRgb(255, 255, 255)) {
            EXPECT_EQ(p, qRgb(0, 0, 0)) << x;
            lines.push_back(x);
        }
    }
    ASSERT_EQ(lines.size(), 10u);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i] - lines[i - 1], 40);
    }
}

TEST_F(WorksheetToolTest, TheLibrarysGroupOrPresetBecomesPagesAndAMissingPictureStopsIt)
{
    make("2,\"一\",0,2,40,2,40,2,40,1,10,1,10,1,5,7,0,0\r\n"
         "2,\"二\",1,3,60,3,60,3,60,1,10,1,10,2,9,1,0,0\r\n"
         "6,\"写真\",0,\"/nowhere/\",\"missing.jpg\"\r\n");
    auto* tree = form->findChild<QTreeWidget*>();
    ASSERT_NE(tree, nullptr);
    host.errors.clear();

    tree->setCurrentItem(tree->topLevelItem(1)); // the grid group: both presets
    form->exportSelectedAsWorksheet();
    EXPECT_EQ(askedCell, std::nullopt); // not graph paper
    EXPECT_EQ(pagesOf(path("sheet.pdf"), "127", path("g")).size(), 2u);

    QFile::remove(path("sheet.pdf"));
    tree->setCurrentItem(tree->topLevelItem(1)->child(1));
    form->exportSelectedAsWorksheet();
    const std::vector<QImage> one = pagesOf(path("sheet.pdf"), "127", path("o"));
    ASSERT_EQ(one.size(), 1u);
    const figures::Record second =
        *figures::parseRecord(QStringLiteral("2,\"二\",1,3,60,3,60,3,60,1,10,1,10,2,9,1,0,0"));
    EXPECT_EQ(one[0].copy(50, 50, 950, 1385),
              figures::drawFigureImage(1, &second, QSize(950, 1385), true, true));

    QFile::remove(path("sheet.pdf"));
    tree->setCurrentItem(tree->topLevelItem(5)->child(0));
    form->exportSelectedAsWorksheet();
    EXPECT_FALSE(QFile::exists(path("sheet.pdf")));
    ASSERT_EQ(host.errors.size(), 1);
    EXPECT_TRUE(host.errors.front().contains("「写真」")) << host.errors.front().toStdString();

    // Cancelling the layout writes nothing.
    form->askWorksheet = [](std::optional<QSize>) {
        return std::optional<figures::WorksheetLayout>();
    };
    tree->setCurrentItem(tree->topLevelItem(1));
    form->exportSelectedAsWorksheet();
    EXPECT_FALSE(QFile::exists(path("sheet.pdf")));
}

TEST(PresentationWindowWorksheet, TheFileMenuOffersPdf)
{
    QTemporaryDir dir;
    state::AppState state;
    state.SettingsBase = state::settingsBaseFor(dir.path(), "koyomiplan");
    app::TForm1 window(state);
    int saved = 0;
    window.tools().saveWorksheet = [&] { ++saved; };
    auto* action = window.findChild<QAction*>("SavePdf1");
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), "PDFとして保存…");
    action->trigger();
    EXPECT_EQ(saved, 1);
}
