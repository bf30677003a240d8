// Shapes kept as the pixels the painter covered, to be painted again without it: the rows
// of covered pixels, and the scratch image shapes are painted on to find them.
#pragma once

#include <QImage>
#include <QPoint>
#include <QSize>

#include <cstdint>
#include <vector>

namespace koyomi::render {

// Covered pixels [x0, x1) of row dy, relative to the shape's origin.
struct PixelRun
{
    std::int32_t dy;
    std::int32_t x0; // first covered pixel
    std::int32_t x1; // one past the last
};

// The columns [x0, x1) of one row of a picture that a shape may cover; x0 == x1 for none.
struct RowBand
{
    int x0;
    int x1;
};

// A black image shapes are painted on in white to be kept, kept from one shape to the next:
// a page of labels keeps thousands of shapes, and a new image each time costs more than the
// scan. Only the part a shape used is painted black again.
class StampScratch
{
public:
    // Images up to `largest` pixels are kept and grown; a larger one is made to the size.
    explicit StampScratch(qint64 largest) : m_largest(largest) {}

    // A black image at least `size`.
    QImage& image(const QSize& size);

    // The runs of white pixels in the top-left `used` part of the image, relative to
    // `origin` (the image pixel that is the shape's origin), appended to `runs`, looking only
    // within each row's band (one for each row of `used`): a long thin stroke covers a sliver
    // of its picture, which reading whole would cost far more than painting the stroke. The
    // part is painted black again. False, with `runs` left as it was, when a pixel there is
    // neither black nor white (a shape that covers some pixels only in part), or when a white
    // pixel lies at a band's edge (the shape may reach beyond it).
    bool takeRuns(const QSize& used, QPoint origin, const std::vector<RowBand>& bands,
                  std::vector<PixelRun>& runs);

private:
    // Paints the used part black again: within the bands when given, else all of it.
    void blacken(const QSize& used, const std::vector<RowBand>* bands);

    qint64 m_largest;
    QImage m_image;
};

} // namespace koyomi::render
