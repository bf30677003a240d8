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

KOYOMI_PIXEL_LOOP bool StampScratch::takeRuns(const QSize& used, QPoint origin,
                                              std::vector<PixelRun>& runs)
{
    const QRgb black = QColor(Qt::black).rgb();
    const QRgb white = QColor(Qt::white).rgb();
    const std::size_t before = runs.size();
    const int width = used.width();
    bool whole = true;
    for (int y = 0; y < used.height() && whole; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(m_image.constScanLine(y));
        for (int x = 0; x < width;) {
            if (row[x] == black) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < width && row[x] == white) {
                ++x;
            }
            if (x == start) {
                whole = false;
                break;
            }
            runs.push_back({y - origin.y(), start - origin.x(), x - origin.x()});
        }
    }
    for (int y = 0; y < used.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        std::fill(row, row + width, black);
    }
    if (!whole) {
        runs.resize(before);
    }
    return whole;
}

} // namespace koyomi::render
