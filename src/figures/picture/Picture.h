// The picture figure without its page: which files are pictures, how a picture fits the
// window, decoding a JPEG file at the size it will be shown, and drawing it.
#pragma once

#include "render/Canvas.h"
#include "render/Palette.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

namespace koyomi::figures {

// A folder with its trailing "/" (the root has one already). Any other folder gets one even
// when it ends in "/" itself, as a record's reader takes one off: a hand-edited "a//" reads
// back as written.
QString withSeparator(const QString& folder);

// The picture figure's preset record: the folder (with its trailing "/") and the file name,
// each between double quotes whatever it contains.
QStringList pictureRecordValues(const QString& folder, const QString& name);

// What a picture record names. The folder field ends in a separator: "/" is written, "\\" is
// read too.
struct PictureRecord
{
    QString folder; // without its trailing separator
    QString name;
    QString path() const { return withSeparator(folder) + name; }
};
PictureRecord readPictureRecord(const QStringList& values);

// A file is listed as a picture when its extension, upper-cased, is exactly ".JPG".
bool isPictureName(const QString& fileName);

// The names of the picture files (not folders) of a folder, case-insensitively in natural
// order ("2.jpg" before "10.jpg"): the order a slideshow is expected in. Empty for a folder
// that cannot be read.
QStringList pictureNames(const QString& folder);

// Where a picture of `picture` pixels is shown in a client area of `client` pixels: at its
// own size in the middle when it is smaller both ways, otherwise as large as fits with its
// shape kept (sizes truncated, the rest split evenly with truncation). Empty when either
// size is empty.
QRect fitPicture(QSize picture, QSize client);

// A decoded picture: `image` upright (any EXIF orientation applied), possibly decoded at a
// reduced scale; `size` is the upright picture's full size, which decides its fit.
struct DecodedPicture
{
    QImage image;
    QSize size;
};

// Why a picture could not be decoded: the file cannot be read (missing, unreadable), or
// what it holds is not a picture this program can show.
struct PictureError
{
    enum Kind
    {
        Unreadable,
        NotAPicture
    };
    Kind kind;
    QString message; // one line, for the teacher
};

// The EXIF orientation (1..8) of a JPEG's bytes, 1 when it has none or an unknown one.
int jpegOrientation(const QByteArray& jpeg);

// Decodes JPEG bytes at the smallest scale (1/8 … 1) that is still at least the size the
// picture gets in a client area of `client` pixels, upright. Throws PictureError.
DecodedPicture decodeJpeg(const QByteArray& jpeg, QSize client);

// Reads and decodes a JPEG file for a client area of `client` pixels. Throws PictureError.
DecodedPicture loadPicture(const QString& path, QSize client);

// The picture as the window shows it: black over the whole canvas (whatever the background
// setting; a worksheet's paper is white), the picture fitted on it. `scaled` keeps the
// picture scaled to its place between draws of the same size.
void drawPicture(render::Canvas& canvas, const DecodedPicture& picture, QImage* scaled = nullptr,
                 render::ColorRef background = render::kBlack);

} // namespace koyomi::figures
