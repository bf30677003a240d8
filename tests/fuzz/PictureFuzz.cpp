// Decoding picture files for a full-HD window: any bytes give a picture of the size its fit
// asks for, or a refusal that says why; never a crash, and never more memory or time than
// the decoder's limits allow (the fuzzer's own limits catch a file that passes them).
#include "FuzzSupport.h"
#include "figures/picture/Picture.h"

using namespace koyomi;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QSize window(1920, 1080);
    try {
        const figures::DecodedPicture picture = figures::decodeJpeg(bytes, window);
        fuzz::check(!picture.image.isNull() && picture.size.isValid(),
                    "a shown picture has pixels");
        // Decoded at a scale that still covers its place, and no larger than the picture.
        const QSize place = figures::fitPicture(picture.size, window).size();
        fuzz::check(picture.image.width() >= place.width() &&
                        picture.image.height() >= place.height() &&
                        picture.image.width() <= picture.size.width() &&
                        picture.image.height() <= picture.size.height(),
                    "decoded at a scale that covers the picture's place");
    } catch (const figures::PictureError& e) {
        fuzz::check(e.kind == figures::PictureError::NotAPicture && !e.message.isEmpty(),
                    "a refused picture says why");
    }
    return 0;
}
