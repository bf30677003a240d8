// A preset record, as the library file holds it, through the whole road: split, read into
// its figure's fields by the core, drawn on a small canvas, and written back.
#include "FuzzSupport.h"
#include "figures/FigureCaches.h"
#include "figures/Figures.h"
#include "figures/Record.h"

#include <QGuiApplication>
#include <QStringDecoder>

using namespace koyomi;

namespace {

// The record its fields write, under the read record's head.
QString written(const figures::Record& r, const figures::Fields& fields)
{
    return figures::recordLine(int(r.kind), r.name, r.whiteBackground,
                               figures::recordValues(fields));
}

// Reads a record into a figure's fresh fields as far as it can be read: a value refused
// part way leaves the fields before it set, as in the Draw tool.
void read(figures::Fields& fields, const QStringList& values)
{
    try {
        figures::applyRecordValues(fields, values);
    } catch (const figures::EConvertError&) {
    }
}

figures::FigureCaches* caches = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Text needs fonts and so an application; no display is used.
    static int argc = 1;
    static char name[] = "record_fuzz";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(argc, argv);
    caches = new figures::FigureCaches;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QStringDecoder decode("Shift_JIS");
    const QString input = decode(fuzz::bytesOf(data, size));
    const std::optional<figures::Record> r = figures::parseRecord(input);
    const figures::Figure* figure = r ? figures::figureOf(r->kind) : nullptr;
    if (!figure) {
        return 0;
    }
    if (figure->picture) {
        // The file a picture record names is what it writes back.
        const figures::PictureRecord named = figure->picture->read(r->values);
        const QString line = figures::recordLine(int(r->kind), r->name, r->whiteBackground,
                                                 figure->picture->write(named.folder, named.name));
        const figures::PictureRecord again =
            figure->picture->read(figures::parseRecord(line)->values);
        fuzz::check(again.path() == named.path(), "a picture record names its file again");
        return 0;
    }
    figures::FieldValues fields(*figure->fields, r->whiteBackground);
    read(fields, r->values);
    render::Canvas canvas(64, 48, render::backgroundColor(r->whiteBackground));
    figure->draw(canvas, fields, render::Frame{64, 48, r->whiteBackground}, caches);
    // What was read can be written again and read back to the same record, also when a value
    // was refused part way.
    const QString once = written(*r, fields);
    figures::FieldValues again(*figure->fields, r->whiteBackground);
    read(again, figures::parseRecord(once)->values);
    fuzz::check(written(*r, again) == once, "a written record reads back to the same record");
    return 0;
}
