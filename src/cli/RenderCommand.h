// koyomiplan-render: draws a figure or a preset into an image file without any window.
#pragma once

#include <QStringList>
#include <QTextStream>

namespace koyomi::cli {

// Runs the command with its arguments (without the program name); returns the exit code.
// Results go to `out`, one error line to `err`; on error no output file is written.
int runRenderCommand(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace koyomi::cli
