// Worksheets: figures on paper at an exact physical scale. Each figure pixel is a fixed
// length on paper; a page holds its drawing as one lossless image at exactly its size, never
// resampled, so that it prints and zooms without blur.
#pragma once

#include "figures/Fields.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <memory>
#include <span>
#include <vector>

namespace koyomi::figures {

struct Paper
{
    const char* name;
    double widthMm; // portrait
    double heightMm;
};

// A4 (the default), A3, B4 and B5 in the Japanese (JIS) sizes, and Letter.
std::span<const Paper> papers();
// The paper of that name (as `papers` spells it, in any case); none for another name.
const Paper* paperNamed(const QString& name);

inline constexpr double kMinMmPerPixel = 0.05;
inline constexpr double kMaxMmPerPixel = 2.0;
inline constexpr double kMaxMarginMm = 50.0;

struct WorksheetLayout
{
    const Paper* paper = &papers()[0];
    bool landscape = false;
    double mmPerPixel = 0.2; // the default 50-pixel graph paper cell is 1 cm
    double marginMm = 10;
    bool captions = false; // each page's name, small in the top margin
};

// Why a layout cannot be printed, in one line; empty when it can.
QString worksheetProblem(const WorksheetLayout& layout);

// The paper's size as laid, in millimetres.
double pageWidthMm(const WorksheetLayout& layout);
double pageHeightMm(const WorksheetLayout& layout);

// The window the figure is drawn in: the printable area over the scale, rounded down to whole
// pixels (A4 portrait at the defaults: 950 × 1385).
QSize worksheetPixels(const WorksheetLayout& layout);

// Paper is white: ink that would be white is printed black; every other colour stays.
void inkForPaper(Fields& fields);

struct WorksheetPage
{
    QImage drawing; // worksheetPixels() in size
    QString caption;
};

// A worksheet's PDF, page by page: each page the paper's size, its drawing centred in the
// printable area at exactly mmPerPixel a pixel, stored losslessly (Flate) and marked not to
// be interpolated. A page's drawing is compressed as it is added, so that a long lesson holds
// one drawing at a time.
class WorksheetPdf
{
public:
    explicit WorksheetPdf(const WorksheetLayout& layout);
    ~WorksheetPdf();
    WorksheetPdf(const WorksheetPdf&) = delete;
    WorksheetPdf& operator=(const WorksheetPdf&) = delete;

    void addPage(const WorksheetPage& page);
    // The whole file, after the last page.
    QByteArray finish();

private:
    class File;
    WorksheetLayout m_layout;
    std::unique_ptr<File> m_file;
    int m_catalog;
    int m_tree;
    QByteArray m_kids;
    int m_pages = 0;
};

// The PDF of the pages, in order.
QByteArray worksheetPdf(const WorksheetLayout& layout, std::span<const WorksheetPage> pages);

} // namespace koyomi::figures
