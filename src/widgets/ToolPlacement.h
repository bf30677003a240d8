// Where a floating tool window opens: its saved position, unless that leaves it out of reach.
#pragma once

#include "state/SettingsFile.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <span>

class QWidget;

namespace koyomi::widgets {

// The saved top-left corner of a tool window `width` pixels wide, when at least
// `reachableWidth` × `reachableHeight` pixels of its top edge lie on one of the screens' usable
// areas; otherwise `fallback` (a corner of the primary screen). Computed wide, so that any
// value a hand-edited settings file holds is judged without overflow.
QPoint reachablePosition(int left, int top, int width, std::span<const QRect> screens,
                         int reachableWidth, int reachableHeight, QPoint fallback);

// Whether at least half of `place` lies on one of `screens`: a window remembered there can
// be put back. Computed wide, like the reachable test above.
bool mostlyOnAScreen(const QRect& place, std::span<const QRect> screens);

// Where a tool window `width` pixels wide with the saved corner (left, top) opens on this
// machine's screens: there when reachable, else `fallback` from the primary screen's usable
// top-left corner (a hand-edited or stale position, such as a projector no longer attached,
// must not put it where the teacher cannot reach it).
QPoint toolWindowPosition(int left, int top, int width, QPoint fallback);

// A floating tool window's place and opacity (100..255) in the settings file, by its keys
// ("Drawtop", "Drawleft", "Drawclearness" and the like).
struct ToolWindowKeys
{
    const char* top;
    const char* left;
    const char* clearness;
};
inline constexpr int kMinToolOpacity = 100;
inline constexpr int kMaxToolOpacity = 255;

// Moves the window to its saved place (10, 10 from the primary screen's corner when there
// is none or it is out of reach) and returns its saved opacity, held to 100..255.
int restoreToolWindow(QWidget& window, const QString& settingsBase, const ToolWindowKeys& keys);
// Writes the window's place and opacity, and the window's `more` settings, in one rewrite of
// the file; false, with a reason, when the file cannot be written.
bool saveToolWindow(const QWidget& window, int opacity, const QString& settingsBase,
                    const ToolWindowKeys& keys, QString* error,
                    std::span<const state::Setting> more = {});

} // namespace koyomi::widgets
