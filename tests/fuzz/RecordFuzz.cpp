// A preset record, as the library file holds it, through the whole road: split, loaded by
// the figure's page through its controls, drawn on a small canvas, and written back.
#include "FuzzSupport.h"
#include "figures/FigureKinds.h"
#include "figures/Record.h"
#include "state/AppState.h"
#include "tools/TForm2.h"
#include "widgets/HeadlessHost.h"

#include <QApplication>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <memory>

using namespace koyomi;

namespace {

struct DrawTool
{
    QTemporaryDir settings;
    state::AppState state;
    widgets::HeadlessHost host{64, 48};
    std::unique_ptr<tools::TForm2> form;
    std::vector<QString> defaults; // each figure's record with its default settings

    DrawTool()
    {
        state.SettingsBase = settings.path() + QStringLiteral("/fuzz.ini");
        form = std::make_unique<tools::TForm2>(state, host);
        host.pages = &form->pages();
        for (int kind = 0; kind < figures::kFigureCount; ++kind) {
            defaults.push_back(form->recordOf(kind, QStringLiteral("defaults")));
        }
    }
};

DrawTool* tool = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The widgets and fonts need an application; no display is used.
    static int argc = 1;
    static char name[] = "record_fuzz";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(argc, argv);
    tool = new DrawTool;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Each input starts from every figure's defaults, so that a finding replays alone.
    for (const QString& line : tool->defaults) {
        tool->form->loadRecord(line);
    }
    tool->host.errors.clear();
    tool->host.drawn.clear();

    QStringDecoder decode("Shift_JIS");
    const QString line = decode(fuzz::bytesOf(data, size));
    if (tool->form->loadRecord(line)) {
        // What was loaded can be written again and read back to the same record, also when a
        // value was refused part way (the figure shown is then left as it was).
        const int kind = int(figures::parseRecord(line)->kind);
        const QString written = tool->form->recordOf(kind, QStringLiteral("r"));
        tool->form->loadRecord(written);
        fuzz::check(tool->form->recordOf(kind, QStringLiteral("r")) == written,
                    "a written record reads back to the same record");
    }
    return 0;
}
