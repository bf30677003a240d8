// Worksheet sizes typed out from the paper sizes, and what a worksheet refuses.
#include "figures/Worksheet.h"
#include "figures/graphpaper/GraphPaperFields.h"
#include "render/Palette.h"

#include <gtest/gtest.h>

using namespace koyomi::figures;

TEST(Worksheet, TheDrawingIsThePrintableAreaOverTheScaleRoundedDown)
{
    WorksheetLayout a4;
    EXPECT_EQ(worksheetPixels(a4), QSize(950, 1385)); // (210 − 20) / 0.2, (297 − 20) / 0.2
    WorksheetLayout letter{paperNamed("letter"), false, 0.2, 10, false};
    EXPECT_EQ(worksheetPixels(letter), QSize(979, 1297)); // 195.9 / 0.2 = 979.5, 259.4 / 0.2
    WorksheetLayout b5{paperNamed("B5"), true, 0.3, 0, false};
    EXPECT_EQ(worksheetPixels(b5), QSize(856, 606)); // 257 / 0.3 = 856.7, 182 / 0.3 = 606.7
    WorksheetLayout a3{paperNamed("A3"), true, kMinMmPerPixel, 0, false};
    EXPECT_EQ(worksheetPixels(a3), QSize(8400, 5940));
    EXPECT_EQ(paperNamed("A5"), nullptr);
    EXPECT_EQ(pageWidthMm(b5), 257);
    EXPECT_EQ(pageHeightMm(b5), 182);
}

TEST(Worksheet, ScalesAndMarginsOutsideTheirRangesAreRefused)
{
    WorksheetLayout layout;
    EXPECT_TRUE(worksheetProblem(layout).isEmpty());
    for (double scale : {0.049, 2.001, 0.0, -1.0, std::nan("")}) {
        layout.mmPerPixel = scale;
        EXPECT_FALSE(worksheetProblem(layout).isEmpty()) << scale;
    }
    layout.mmPerPixel = 2;
    for (double margin : {-0.1, 50.1, std::nan("")}) {
        layout.marginMm = margin;
        EXPECT_FALSE(worksheetProblem(layout).isEmpty()) << margin;
    }
    layout.marginMm = 50;
    EXPECT_TRUE(worksheetProblem(layout).isEmpty());
    layout.paper = nullptr;
    EXPECT_FALSE(worksheetProblem(layout).isEmpty());
}

TEST(Worksheet, WhiteInkIsPrintedBlackAndOtherColoursStay)
{
    FieldValues fields(graphPaperFields(), false);
    fields.setIndex(graphpaper::TopColor, koyomi::render::kRedIndex);
    inkForPaper(fields);
    EXPECT_EQ(fields.index(graphpaper::TopColor), koyomi::render::kRedIndex);
    for (int f :
         {int(graphpaper::AllColor), int(graphpaper::BottomColor), int(graphpaper::NumberColor)}) {
        EXPECT_EQ(fields.index(f), koyomi::render::kBlackIndex) << f;
    }
}
