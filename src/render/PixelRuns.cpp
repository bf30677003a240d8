#include "render/PixelRuns.h"

#include "render/PixelLoop.h"

#include <QColor>

#include <algorithm>

namespace koyomi::render {

QImage& StampScratch::image(const QSize& size)
{
    if (size.width() > m_image.width() || size.height() > m_image.height()) {
        QSize grown = m_image.size().expandedTo(size);
        if (qint64(grown.width()) * grown.height() > m_largest) {
            grown = size;
        }
        m_image = QImage(grown, QImage::Format_RGB32);
        m_image.fill(Qt::black);
    }
    return m_image;
}

namespace {

// Appends the runs of white pixels of `row` from x0 to x1 (row y), relative to `origin`;
// false at a pixel neither black nor white.
KOYOMI_PIXEL_LOOP bool rowRuns(const QRgb* row, int x0, int x1, int y, QPoint origin,
                               std::vector<PixelRun>& runs)
{
    const QRgb black = QColor(Qt::black).rgb();
    const QRgb white = QColor(Qt::white).rgb();
    for (int x = x0; x < x1;) {
        if (row[x] == black) {
            ++x;
            continue;
        }
        const int start = x;
        while (x < x1 && row[x] == white) {
            ++x;
        }
        if (x == start) {
            return false;
        }
        runs.push_back({y - origin.y(), start - origin.x(), x - origin.x()});
    }
    return true;
}

} // namespace

KOYOMI_PIXEL_LOOP bool StampScratch::takeRuns(const QSize& used, QPoint origin,
                                              const std::vector<RowBand>& bands,
                                              std::vector<PixelRun>& runs)
{
    const QRgb black = QColor(Qt::black).rgb();
    const std::size_t before = runs.size();
    bool whole = int(bands.size()) == used.height();
    for (int y = 0; y < used.height() && whole; ++y) {
        const RowBand band = bands[std::size_t(y)];
        if (band.x0 >= band.x1) {
            continue;
        }
        const auto* row = reinterpret_cast<const QRgb*>(m_image.constScanLine(y));
        whole = row[band.x0] == black && row[band.x1 - 1] == black &&
                rowRuns(row, band.x0, band.x1, y, origin, runs);
    }
    blacken(used, whole ? &bands : nullptr);
    if (!whole) {
        runs.resize(before);
    }
    return whole;
}

KOYOMI_PIXEL_LOOP void StampScratch::blacken(const QSize& used, const std::vector<RowBand>* bands)
{
    const QRgb black = QColor(Qt::black).rgb();
    for (int y = 0; y < used.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        const RowBand band = bands ? (*bands)[std::size_t(y)] : RowBand{0, used.width()};
        std::fill(row + band.x0, row + std::max(band.x0, band.x1), black);
    }
}

} // namespace koyomi::render
