#include "figures/Worksheet.h"

#include "render/Palette.h"

#include <QFont>
#include <QPainter>

#include <array>
#include <cmath>

namespace koyomi::figures {

namespace {

constexpr std::array<Paper, 5> kPapers{{
    {"A4", 210, 297},
    {"A3", 297, 420},
    {"B4", 257, 364},
    {"B5", 182, 257},
    {"Letter", 215.9, 279.4},
}};

constexpr double kPointsPerMm = 72.0 / 25.4;
// A caption's text height, and the fineness of its picture.
constexpr double kCaptionMm = 3.5;
constexpr double kCaptionMmPerPixel = 0.05;

// A number as a PDF writes it: fixed point, without an exponent.
QByteArray number(double v)
{
    QByteArray text = QByteArray::number(v, 'f', 6);
    while (text.contains('.') && (text.endsWith('0') || text.endsWith('.'))) {
        text.chop(1);
    }
    return text;
}

// The RGB bytes of an image, row after row, compressed as a zlib stream.
QByteArray flateRgb(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    QByteArray raw;
    raw.reserve(qsizetype(rgb.width()) * 3 * rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        raw.append(reinterpret_cast<const char*>(rgb.constScanLine(y)), rgb.width() * 3);
    }
    // qCompress puts the length in four bytes before the zlib stream.
    return qCompress(raw, 9).mid(4);
}

// The caption as a picture: the text in black on white, kCaptionMm tall.
QImage captionPicture(const QString& caption, double widthMm)
{
    const int height = int(std::lround(kCaptionMm / kCaptionMmPerPixel));
    QImage picture(int(widthMm / kCaptionMmPerPixel), height, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    QFont font;
    font.setPixelSize(height * 4 / 5);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(picture.rect(), Qt::AlignLeft | Qt::AlignVCenter, caption);
    return picture;
}

} // namespace

// A PDF built object by object, its cross-reference table kept as it goes.
class WorksheetPdf::File
{
public:
    File() { m_bytes = "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n"; }

    int reserve()
    {
        m_offsets.push_back(-1);
        return int(m_offsets.size());
    }
    void object(int id, const QByteArray& body)
    {
        m_offsets[std::size_t(id - 1)] = m_bytes.size();
        m_bytes += QByteArray::number(id) + " 0 obj\n" + body + "\nendobj\n";
    }
    void stream(int id, const QByteArray& dictionary, const QByteArray& data)
    {
        object(id, "<< " + dictionary + " /Length " + QByteArray::number(data.size()) +
                       " >>\nstream\n" + data + "\nendstream");
    }
    QByteArray finish(int root)
    {
        const qsizetype xref = m_bytes.size();
        m_bytes += "xref\n0 " + QByteArray::number(m_offsets.size() + 1) + "\n";
        m_bytes += "0000000000 65535 f \n";
        for (qsizetype offset : m_offsets) {
            m_bytes += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
        }
        m_bytes += "trailer\n<< /Size " + QByteArray::number(m_offsets.size() + 1) + " /Root " +
                   QByteArray::number(root) + " 0 R >>\nstartxref\n" + QByteArray::number(xref) +
                   "\n%%EOF\n";
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    std::vector<qsizetype> m_offsets;
};

namespace {

// An image XObject that keeps every pixel: lossless and not interpolated.
QByteArray imageDictionary(const QImage& image)
{
    return "/Type /XObject /Subtype /Image /Width " + QByteArray::number(image.width()) +
           " /Height " + QByteArray::number(image.height()) +
           " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Interpolate false /Filter /FlateDecode";
}

// Draws an image at (x, y) from the page's top-left, w × h millimetres, on a page h high.
// The box is drawn in by a ten-thousandth of a point on every side (a few nanometres):
// renderers that round an image's far edges outward (poppler's) then map it onto exactly
// as many device pixels as it has at the matching resolution, instead of one more, which
// they would fill by resampling every line.
QByteArray placed(const char* name, double x, double y, double w, double h, double pageHeight)
{
    constexpr double kInset = 1e-4; // points
    return "q " + number(w * kPointsPerMm - 2 * kInset) + " 0 0 " +
           number(h * kPointsPerMm - 2 * kInset) + " " + number(x * kPointsPerMm + kInset) + " " +
           number((pageHeight - y - h) * kPointsPerMm + kInset) + " cm /" + name + " Do Q\n";
}

} // namespace

std::span<const Paper> papers()
{
    return kPapers;
}

const Paper* paperNamed(const QString& name)
{
    for (const Paper& p : kPapers) {
        if (name.compare(QLatin1String(p.name), Qt::CaseInsensitive) == 0) {
            return &p;
        }
    }
    return nullptr;
}

double pageWidthMm(const WorksheetLayout& layout)
{
    return layout.landscape ? layout.paper->heightMm : layout.paper->widthMm;
}

double pageHeightMm(const WorksheetLayout& layout)
{
    return layout.landscape ? layout.paper->widthMm : layout.paper->heightMm;
}

QString worksheetProblem(const WorksheetLayout& layout)
{
    if (!layout.paper) {
        return QStringLiteral("用紙は A4、A3、B4、B5、Letter のどれかにしてください");
    }
    if (!(layout.mmPerPixel >= kMinMmPerPixel && layout.mmPerPixel <= kMaxMmPerPixel)) {
        return QStringLiteral("1 ピクセルの長さは %1〜%2 mm にしてください")
            .arg(kMinMmPerPixel)
            .arg(kMaxMmPerPixel);
    }
    if (!(layout.marginMm >= 0 && layout.marginMm <= kMaxMarginMm)) {
        return QStringLiteral("余白は 0〜%1 mm にしてください").arg(kMaxMarginMm);
    }
    const QSize pixels = worksheetPixels(layout);
    if (pixels.width() < 1 || pixels.height() < 1) {
        return QStringLiteral("余白が用紙に対して大きすぎます");
    }
    return {};
}

QSize worksheetPixels(const WorksheetLayout& layout)
{
    const double w = (pageWidthMm(layout) - 2 * layout.marginMm) / layout.mmPerPixel;
    const double h = (pageHeightMm(layout) - 2 * layout.marginMm) / layout.mmPerPixel;
    // A hair over a whole number counts as that number: 190 / 0.2 is 949.999… in binary.
    auto whole = [](double v) { return v <= 0 ? 0 : int(std::floor(v + 1e-9)); };
    return {whole(w), whole(h)};
}

void inkForPaper(Fields& fields)
{
    for (int f = 0; f < fields.count(); ++f) {
        if (fields.field(f).kind == FieldKind::Color && fields.index(f) == render::kWhiteIndex) {
            fields.setIndex(f, render::kBlackIndex);
        }
    }
}

WorksheetPdf::WorksheetPdf(const WorksheetLayout& layout)
    : m_layout(layout), m_file(std::make_unique<File>()), m_catalog(m_file->reserve()),
      m_tree(m_file->reserve())
{
}

WorksheetPdf::~WorksheetPdf() = default;

void WorksheetPdf::addPage(const WorksheetPage& page)
{
    File& pdf = *m_file;
    const double pageW = pageWidthMm(m_layout);
    const double pageH = pageHeightMm(m_layout);
    const double margin = m_layout.marginMm;
    const double printableW = pageW - 2 * margin;
    const double printableH = pageH - 2 * margin;
    const int pageId = pdf.reserve();
    const int contents = pdf.reserve();
    const int drawing = pdf.reserve();
    const double w = page.drawing.width() * m_layout.mmPerPixel;
    const double h = page.drawing.height() * m_layout.mmPerPixel;
    QByteArray content =
        placed("D", margin + (printableW - w) / 2, margin + (printableH - h) / 2, w, h, pageH);
    QByteArray resources = "/D " + QByteArray::number(drawing) + " 0 R";
    pdf.stream(drawing, imageDictionary(page.drawing), flateRgb(page.drawing));
    // The caption in the top margin, when there is room for it.
    if (m_layout.captions && !page.caption.isEmpty() && margin >= kCaptionMm + 2) {
        const int caption = pdf.reserve();
        const QImage picture = captionPicture(page.caption, printableW);
        content += placed("C", margin, (margin - kCaptionMm) / 2,
                          picture.width() * kCaptionMmPerPixel, kCaptionMm, pageH);
        resources += " /C " + QByteArray::number(caption) + " 0 R";
        pdf.stream(caption, imageDictionary(picture), flateRgb(picture));
    }
    pdf.stream(contents, {}, content);
    pdf.object(pageId, "<< /Type /Page /Parent " + QByteArray::number(m_tree) +
                           " 0 R /MediaBox [0 0 " + number(pageW * kPointsPerMm) + " " +
                           number(pageH * kPointsPerMm) + "] /Resources << /XObject << " +
                           resources + " >> >> /Contents " + QByteArray::number(contents) +
                           " 0 R >>");
    m_kids += QByteArray::number(pageId) + " 0 R ";
    ++m_pages;
}

QByteArray WorksheetPdf::finish()
{
    m_file->object(m_tree, "<< /Type /Pages /Kids [" + m_kids.trimmed() + "] /Count " +
                               QByteArray::number(m_pages) + " >>");
    m_file->object(m_catalog, "<< /Type /Catalog /Pages " + QByteArray::number(m_tree) + " 0 R >>");
    return m_file->finish(m_catalog);
}

QByteArray worksheetPdf(const WorksheetLayout& layout, std::span<const WorksheetPage> pages)
{
    WorksheetPdf pdf(layout);
    for (const WorksheetPage& page : pages) {
        pdf.addPage(page);
    }
    return pdf.finish();
}

} // namespace koyomi::figures
