#include "render/JpegEncoder.h"

#include <turbojpeg.h>

namespace koyomi::render {

JpegEncoder::JpegEncoder(int quality) : m_handle(tjInitCompress()), m_quality(quality)
{
    if (!m_handle) {
        throw JpegError("JPEG 圧縮を初期化できませんでした");
    }
}

JpegEncoder::~JpegEncoder()
{
    tjDestroy(m_handle);
}

QByteArray JpegEncoder::encode(const QImage& image)
{
    // RGB32 is stored as B, G, R, X bytes on a little-endian machine, which TurboJPEG reads
    // directly; other formats are converted first.
    const QImage source =
        image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
            ? image
            : image.convertToFormat(QImage::Format_RGB32);
    if (source.isNull() || source.width() <= 0 || source.height() <= 0) {
        throw JpegError("空の画像は JPEG にできません");
    }
    unsigned char* out = nullptr;
    unsigned long size = 0;
    const int rc = tjCompress2(m_handle, source.constBits(), source.width(),
                               static_cast<int>(source.bytesPerLine()), source.height(), TJPF_BGRX,
                               &out, &size, TJSAMP_420, m_quality, TJFLAG_ACCURATEDCT);
    if (rc != 0) {
        if (out) {
            tjFree(out);
        }
        throw JpegError(std::string("JPEG 圧縮に失敗しました: ") + tjGetErrorStr2(m_handle));
    }
    QByteArray result(reinterpret_cast<const char*>(out), static_cast<qsizetype>(size));
    tjFree(out);
    return result;
}

} // namespace koyomi::render
