// The figure kinds in page order, and everything the program walks for a kind: caption and
// picture, field table, renderer, and the picture interface of the one figure that shows a
// file.
#pragma once

#include "figures/Fields.h"
#include "figures/FigureKinds.h"
#include "figures/Record.h"
#include "figures/picture/Picture.h"
#include "render/Canvas.h"
#include "render/Frame.h"

#include <array>

class QPainter;

namespace koyomi::figures {

class FigureCaches;

// What a figure that shows a file has instead of fields and a renderer.
struct PictureFigure
{
    // The file a preset record's values name, and the values that name one.
    PictureRecord (*read)(const QStringList& values);
    QStringList (*write)(const QString& folder, const QString& name);
    // The file decoded fitted to a window of the given size; throws PictureError.
    DecodedPicture (*load)(const QString& path, QSize client);
    // The picture fitted on the background (black on the screen, white on paper); a
    // picture without an image is the background alone.
    void (*draw)(render::Canvas& canvas, const DecodedPicture& picture, QImage* scaled,
                 render::ColorRef background);
};

struct Figure
{
    const char* caption; // UTF-8: its page's tab and its library group
    // The small picture on its tab and library group, smoothed when it is round.
    void (*drawIcon)(QPainter& painter);
    bool roundIcon;
    // Its settings; none for a figure that shows a file.
    const FigureFields* fields;
    // Draws it from its fields over the whole canvas, skipping what lies outside the window.
    void (*draw)(render::Canvas& canvas, const Fields& fields, const render::Frame& frame,
                 FigureCaches* caches);
    const PictureFigure* picture = nullptr;
    // The repeating cell a worksheet's dialog measures in millimetres (across, down, in
    // pixels); none for a figure without one.
    QSize (*cell)(const Fields& fields) = nullptr;
};

const std::array<Figure, kFigureCount>& figureTable();

// The figure `kind` (0 … kFigureCount − 1); nothing for another kind.
const Figure* figureOf(long long kind);

// Figure `kind` with the settings of a fresh page for the frame's background; a figure that
// shows a file, which has none yet, is black. Nothing for another kind.
void drawFigureDefaults(int kind, render::Canvas& canvas, const render::Frame& frame,
                        FigureCaches* caches = nullptr);

// Why a figure's record could not be drawn, in the program's own words.
struct FigureError
{
    QString message;
};

// Figure `kind` drawn in a window of `size`: its defaults (no record), or the settings of a
// record of that kind, on the given background. On paper the background is white, white ink
// is printed black and a picture is fitted on white. Throws FigureError for a record whose
// values the figure cannot read, or whose picture cannot be shown; the picture figure needs
// a record.
QImage drawFigureImage(int kind, const Record* record, QSize size, bool white, bool paper);

// Whether figure `kind` shows a file rather than drawing: its defaults show nothing.
bool showsAFile(int kind);
// The kind of the figure that shows a file.
int pictureKind();

} // namespace koyomi::figures
