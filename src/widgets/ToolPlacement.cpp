#include "widgets/ToolPlacement.h"

#include "state/SettingsFile.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <utility>
#include <vector>

namespace koyomi::widgets {

namespace {

using i64 = long long;

// The width and height that the box from (x1, y1) to (x2, y2), right and bottom edges
// excluded, shares with a screen; negative when they do not meet. Wide, so that any value a
// hand-edited settings file holds is judged without overflow.
std::pair<i64, i64> overlap(i64 x1, i64 y1, i64 x2, i64 y2, const QRect& s)
{
    return {std::min<i64>(x2, i64(s.x()) + s.width()) - std::max<i64>(x1, s.x()),
            std::min<i64>(y2, i64(s.y()) + s.height()) - std::max<i64>(y1, s.y())};
}

} // namespace

QPoint reachablePosition(int left, int top, int width, std::span<const QRect> screens,
                         int reachableWidth, int reachableHeight, QPoint fallback)
{
    // The top edge's strip.
    for (const QRect& s : screens) {
        const auto [w, h] = overlap(left, top, i64(left) + width, i64(top) + reachableHeight, s);
        if (w >= reachableWidth && h >= reachableHeight) {
            return QPoint(left, top);
        }
    }
    return fallback;
}

bool mostlyOnAScreen(const QRect& place, std::span<const QRect> screens)
{
    const i64 area = i64(place.width()) * place.height();
    if (area <= 0) {
        return false;
    }
    for (const QRect& s : screens) {
        const auto [w, h] = overlap(place.x(), place.y(), i64(place.x()) + place.width(),
                                    i64(place.y()) + place.height(), s);
        if (w > 0 && h > 0 && 2 * w * h >= area) {
            return true;
        }
    }
    return false;
}

QPoint toolWindowPosition(int left, int top, int width, QPoint fallback)
{
    // At least this much of the window's top edge must lie on a screen for it to count as
    // reachable.
    constexpr int kReachableWidth = 60;
    constexpr int kReachableHeight = 20;
    std::vector<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        screens.push_back(screen->availableGeometry());
    }
    const QRect primary = QGuiApplication::primaryScreen()
                              ? QGuiApplication::primaryScreen()->availableGeometry()
                              : QRect(0, 0, 800, 600);
    return reachablePosition(left, top, width, screens, kReachableWidth, kReachableHeight,
                             primary.topLeft() + fallback);
}

int restoreToolWindow(QWidget& window, const QString& settingsBase, const ToolWindowKeys& keys)
{
    constexpr int kDefaultLeft = 10;
    constexpr int kDefaultTop = 10;
    const state::SettingsFile settings(settingsBase);
    const int top = settings.readInteger(QString::fromLatin1(keys.top), kDefaultTop);
    const int left = settings.readInteger(QString::fromLatin1(keys.left), kDefaultLeft);
    const int clearness =
        settings.readInteger(QString::fromLatin1(keys.clearness), kMaxToolOpacity);
    window.move(toolWindowPosition(left, top, window.width(), QPoint(kDefaultLeft, kDefaultTop)));
    return std::clamp(clearness, kMinToolOpacity, kMaxToolOpacity);
}

bool saveToolWindow(const QWidget& window, int opacity, const QString& settingsBase,
                    const ToolWindowKeys& keys, QString* error,
                    std::span<const state::Setting> more)
{
    state::SettingsFile settings(settingsBase);
    std::vector<state::Setting> values{{QString::fromLatin1(keys.top), window.y()},
                                       {QString::fromLatin1(keys.left), window.x()},
                                       {QString::fromLatin1(keys.clearness), opacity}};
    values.insert(values.end(), more.begin(), more.end());
    return settings.write(values, error);
}

} // namespace koyomi::widgets
