#include "figures/picture/JpegDecoder.h"

#include "figures/picture/Picture.h"
#include "render/Text.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

namespace koyomi::figures {

namespace {

// One decoding, with everything that must outlive a jump out of the decoder: the decoder
// reports errors by calling back, and the callbacks leave it with longjmp. Nothing with a
// destructor may live in the frames a jump passes over, so this state is all kept here.
struct Session
{
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    jpeg_progress_mgr progress{};
    std::jmp_buf jump{};
    JpegLimits limits;
    int allowedScans = 1;
    QString stop; // why decoding stopped, set before the jump
    QImage image;
};

Session& sessionOf(j_common_ptr common)
{
    return *static_cast<Session*>(common->client_data);
}

[[noreturn]] void leave(Session& s)
{
    std::longjmp(s.jump, 1);
}

void onError(j_common_ptr common)
{
    Session& s = sessionOf(common);
    char text[JMSG_LENGTH_MAX] = {};
    (*common->err->format_message)(common, text);
    s.stop = QStringLiteral("JPEG 画像ではないか、壊れています (%1)")
                 .arg(render::messageExcerpt(QString::fromLocal8Bit(text), 80));
    leave(s);
}

// Warnings leave a picture that may be whole (stray bytes between segments, an unknown
// JFIF revision) or not: one whose data ended early is grey below the break, and is refused.
// The decoder's code for the warning decides, not its wording.
void onMessage(j_common_ptr common, int level)
{
    if (level >= 0) {
        return; // trace messages
    }
    ++common->err->num_warnings;
    const int code = common->err->msg_code;
    if (code == JWRN_HIT_MARKER || code == JWRN_JPEG_EOF || code == JWRN_MUST_RESYNC) {
        Session& s = sessionOf(common);
        s.stop = QStringLiteral("JPEG 画像が途中で切れています");
        leave(s);
    }
}

void onOutputMessage(j_common_ptr) {}

bool restartMarker(int marker)
{
    return marker >= JPEG_RST0 && marker <= JPEG_RST0 + 7;
}

// Called after each row of blocks a scan reads, and before each row handed out.
void onProgress(j_common_ptr common)
{
    Session& s = sessionOf(common);
    const auto* d = reinterpret_cast<const jpeg_decompress_struct*>(common);
    if (d->input_scan_number > s.allowedScans) {
        s.stop = QStringLiteral("JPEG 画像のスキャンが多すぎます (%1 まで)").arg(s.allowedScans);
        leave(s);
    }
    // Arithmetic-coded data may legally end in a marker a little before its last blocks
    // (the encoder drops its final zero bytes), so the decoder says nothing when it meets
    // one. Meeting a marker other than a restart while whole rows of the scan are still to
    // come is data that ended early. (A scan's rows coded in nothing but its dropped bytes
    // would be refused too; no real picture's are.)
    const int marker = d->unread_marker;
    if (d->arith_code && marker != 0 && !restartMarker(marker) &&
        d->input_iMCU_row < d->total_iMCU_rows) {
        s.stop = QStringLiteral("JPEG 画像が途中で切れています");
        leave(s);
    }
}

qint64 roundedUp(qint64 value, qint64 step)
{
    return (value + step - 1) / step * step;
}

// The decoding itself. Returns false, with `s.stop` saying why, when the decoder stopped;
// it then has been destroyed. No local of this function has a destructor (see Session).
bool decode(Session& s, const QByteArray& jpeg, const std::function<JpegScale(QSize)>& scaleFor)
{
    jpeg_decompress_struct& d = s.info;
    d.err = jpeg_std_error(&s.errors);
    s.errors.error_exit = onError;
    s.errors.emit_message = onMessage;
    s.errors.output_message = onOutputMessage;
    d.client_data = &s;
    if (setjmp(s.jump) != 0) {
        jpeg_destroy_decompress(&d);
        return false;
    }
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                 static_cast<unsigned long>(jpeg.size()));
    s.progress.progress_monitor = onProgress;
    d.progress = &s.progress;
    jpeg_read_header(&d, TRUE);

    // The work the picture's blocks ask for, judged before any is done. A file of several
    // scans keeps every coefficient of the picture at once.
    qint64 blocks = 0;
    for (int c = 0; c < d.num_components; ++c) {
        const jpeg_component_info& component = d.comp_info[c];
        blocks += roundedUp(component.width_in_blocks, component.h_samp_factor) *
                  roundedUp(component.height_in_blocks, component.v_samp_factor);
    }
    const qint64 coefficientBytes = blocks * DCTSIZE2 * qint64(sizeof(JCOEF));
    const bool multiScan = jpeg_has_multiple_scans(&d);
    if (blocks > s.limits.maxBlockScans ||
        (multiScan && (coefficientBytes > s.limits.maxCoefficientBytes ||
                       jpeg.size() > s.limits.maxMultiScanBytes))) {
        s.stop =
            QStringLiteral("画像が大きすぎます (%1 × %2)").arg(d.image_width).arg(d.image_height);
        jpeg_destroy_decompress(&d);
        return false;
    }
    s.allowedScans = int(std::clamp<qint64>(s.limits.maxBlockScans / std::max<qint64>(blocks, 1), 1,
                                            s.limits.maxScans));

    const JpegScale scale = scaleFor(QSize(int(d.image_width), int(d.image_height)));
    d.scale_num = unsigned(scale.num);
    d.scale_denom = unsigned(scale.denom);
    // Blue, green, red and an opaque fourth byte: RGB32 as it lies in memory.
    d.out_color_space = JCS_EXT_BGRA;
    jpeg_calc_output_dimensions(&d);
    if (qint64(d.output_width) * d.output_height > s.limits.maxDecodedPixels) {
        s.stop =
            QStringLiteral("画像が大きすぎます (%1 × %2)").arg(d.image_width).arg(d.image_height);
        jpeg_destroy_decompress(&d);
        return false;
    }
    s.image = QImage(int(d.output_width), int(d.output_height), QImage::Format_RGB32);
    if (s.image.isNull()) {
        s.stop = QStringLiteral("画像のためのメモリが足りません (%1 × %2)")
                     .arg(d.image_width)
                     .arg(d.image_height);
        jpeg_destroy_decompress(&d);
        return false;
    }
    jpeg_start_decompress(&d);
    while (d.output_scanline < d.output_height) {
        JSAMPROW row = s.image.scanLine(int(d.output_scanline));
        jpeg_read_scanlines(&d, &row, 1);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    return true;
}

} // namespace

QImage decodeJpegScaled(const QByteArray& jpeg, const std::function<JpegScale(QSize)>& scaleFor,
                        const JpegLimits& limits)
{
    if (jpeg.isEmpty()) {
        throw PictureError{PictureError::NotAPicture,
                           QStringLiteral("JPEG 画像ではないか、壊れています")};
    }
    Session s;
    s.limits = limits;
    if (!decode(s, jpeg, scaleFor)) {
        throw PictureError{PictureError::NotAPicture, s.stop};
    }
    return std::move(s.image);
}

} // namespace koyomi::figures
