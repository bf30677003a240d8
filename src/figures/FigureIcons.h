// The small pictures of the figure kinds on the Draw tool's tabs and library groups, each
// drawn on a 16-pixel square in the pictures' ink; the figure table names each kind's.
#pragma once

#include <QIcon>

class QPainter;

namespace koyomi::figures {

// The picture `draw` paints, smoothed when it is round.
QIcon figureIcon(void (*draw)(QPainter&), bool round);

void drawGraphPaperIcon(QPainter& p);
void drawGridIcon(QPainter& p);
void drawSlopeGridIcon(QPainter& p);
void drawCircleIcon(QPainter& p);
void drawClockIcon(QPainter& p);
void drawPictureIcon(QPainter& p);
void drawNumberLineIcon(QPainter& p);
void drawTawaraIcon(QPainter& p);
void drawFractionTilesIcon(QPainter& p);

} // namespace koyomi::figures
