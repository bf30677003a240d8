#include "figures/Figures.h"

#include "figures/FigureIcons.h"
#include "figures/Worksheet.h"
#include "figures/circle/CircleFields.h"
#include "figures/clock/ClockFields.h"
#include "figures/fractiontiles/FractionTilesFields.h"
#include "figures/graphpaper/GraphPaperFields.h"
#include "figures/grid/GridFields.h"
#include "figures/numberline/NumberLineFields.h"
#include "figures/slopegrid/SlopeGridFields.h"
#include "figures/tawara/TawaraFields.h"
#include "render/Text.h"

namespace koyomi::figures {

namespace {

// A renderer drawing from its figure's parameters, as a figure's table row calls it.
template <class Params, Params (*read)(const Fields&),
          void (*render)(render::Canvas&, const Params&, const render::Frame&, FigureCaches*)>
void drawFrom(render::Canvas& canvas, const Fields& fields, const render::Frame& frame,
              FigureCaches* caches)
{
    render(canvas, read(fields), frame, caches);
}

// Renderers that keep nothing between drawings take no caches.
template <class Params, void (*render)(render::Canvas&, const Params&, const render::Frame&)>
void withoutCaches(render::Canvas& canvas, const Params& params, const render::Frame& frame,
                   FigureCaches*)
{
    render(canvas, params, frame);
}

constexpr PictureFigure kPicture{readPictureRecord, pictureRecordValues, loadPicture, drawPicture};

} // namespace

const std::array<Figure, kFigureCount>& figureTable()
{
    static const std::array<Figure, kFigureCount> table{{
        {"方眼", drawGraphPaperIcon, false, &graphPaperFields(),
         drawFrom<GraphPaperParams, graphPaperParams, drawGraphPaper>, nullptr, graphPaperCell},
        {"グリッド", drawGridIcon, false, &gridFields(),
         drawFrom<GridParams, gridParams, drawGrid>},
        {"斜方眼", drawSlopeGridIcon, false, &slopeGridFields(),
         drawFrom<SlopeGridParams, slopeGridParams, withoutCaches<SlopeGridParams, drawSlopeGrid>>},
        {"円", drawCircleIcon, true, &circleFields(),
         drawFrom<CircleParams, circleParams, drawCircle>},
        {"時計", drawClockIcon, true, &clockFields(),
         drawFrom<ClockParams, clockParams, withoutCaches<ClockParams, drawClock>>},
        {"画像", drawPictureIcon, false, nullptr, nullptr, &kPicture},
        {"数直線", drawNumberLineIcon, false, &numberLineFields(),
         drawFrom<NumberLineParams, numberLineParams, drawNumberLine>},
        {"俵", drawTawaraIcon, true, &tawaraFields(),
         drawFrom<TawaraParams, tawaraParams, drawTawara>},
        {"分数タイル", drawFractionTilesIcon, false, &fractionTilesFields(),
         drawFrom<FractionTilesParams, fractionTilesParams,
                  withoutCaches<FractionTilesParams, drawFractionTiles>>},
    }};
    return table;
}

const Figure* figureOf(long long kind)
{
    return kind >= 0 && kind < kFigureCount ? &figureTable()[std::size_t(kind)] : nullptr;
}

void drawFigureDefaults(int kind, render::Canvas& canvas, const render::Frame& frame,
                        FigureCaches* caches)
{
    const Figure* figure = figureOf(kind);
    if (!figure) {
        return;
    }
    if (figure->picture) {
        figure->picture->draw(canvas, DecodedPicture{}, nullptr, render::kBlack); // none chosen yet
        return;
    }
    const FieldValues fresh(*figure->fields, frame.whiteBackground);
    figure->draw(canvas, fresh, frame, caches);
}

QImage drawFigureImage(int kind, const Record* record, QSize size, bool white, bool paper)
{
    const Figure& figure = *figureOf(kind);
    const bool onWhite = paper || white;
    render::Canvas canvas(size.width(), size.height(), render::backgroundColor(onWhite));
    const render::Frame frame{size.width(), size.height(), onWhite};
    if (figure.picture) {
        if (!record) {
            throw FigureError{QStringLiteral("画像の図には画像を指す設定が要ります")};
        }
        try {
            figure.picture->draw(
                canvas, figure.picture->load(figure.picture->read(record->values).path(), size),
                nullptr, paper ? render::kWhite : render::kBlack);
        } catch (const PictureError& e) {
            // A file that cannot be read is the record's fault; one that is no picture, the
            // file's.
            throw FigureError{(e.kind == PictureError::Unreadable
                                   ? QStringLiteral("レコードを読めません: %1")
                                   : QStringLiteral("画像を表示できません: %1"))
                                  .arg(render::messageExcerpt(e.message))};
        }
        return canvas.image();
    }
    // A value the figure cannot read stops the drawing (the Draw tool keeps the fields set
    // before it).
    FieldValues fields(*figure.fields, white);
    QString problem;
    try {
        if (record) {
            applyRecordValues(fields, record->values);
        }
        problem = fields.errors().value(0);
    } catch (const EConvertError& e) {
        problem = QString::fromUtf8(e.what());
    }
    if (!problem.isEmpty()) {
        throw FigureError{
            QStringLiteral("レコードを読めません: %1").arg(render::messageExcerpt(problem))};
    }
    if (paper) {
        inkForPaper(fields);
    }
    figure.draw(canvas, fields, frame, nullptr);
    return canvas.image();
}

bool showsAFile(int kind)
{
    const Figure* figure = figureOf(kind);
    return figure && figure->picture;
}

int pictureKind()
{
    for (int kind = 0; kind < kFigureCount; ++kind) {
        if (figureTable()[std::size_t(kind)].picture) {
            return kind;
        }
    }
    return -1;
}

} // namespace koyomi::figures
