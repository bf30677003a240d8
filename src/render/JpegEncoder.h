// JPEG compression of canvas images (baseline, colour) through libjpeg-turbo.
#pragma once

#include <QByteArray>
#include <QImage>

#include <stdexcept>

namespace koyomi::render {

class JpegError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class JpegEncoder
{
public:
    explicit JpegEncoder(int quality = 90);
    ~JpegEncoder();
    JpegEncoder(const JpegEncoder&) = delete;
    JpegEncoder& operator=(const JpegEncoder&) = delete;

    // Baseline colour JPEG of the whole image; throws JpegError when compression fails.
    QByteArray encode(const QImage& image);

private:
    void* m_handle;
    int m_quality;
};

} // namespace koyomi::render
