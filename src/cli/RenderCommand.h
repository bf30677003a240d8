// koyomiplan-render: draws a figure or a preset into an image file without any window.
#pragma once

#include <QByteArrayList>
#include <QTextStream>

namespace koyomi::cli {

// Runs the command with its arguments as the system gave them (without the program name):
// file names are used as those bytes, texts are read as UTF-8. Returns the exit code. Results
// go to `out`, one error line to `err`; on error no output file is written.
int runRenderCommand(const QByteArrayList& args, QTextStream& out, QTextStream& err);

} // namespace koyomi::cli
