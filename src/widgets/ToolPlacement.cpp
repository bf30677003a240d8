#include "widgets/ToolPlacement.h"

#include "state/SettingsFile.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace koyomi::widgets {

QPoint reachablePosition(int left, int top, int width, std::span<const QRect> screens,
                         int reachableWidth, int reachableHeight, QPoint fallback)
{
    using i64 = long long;
    // The top edge's strip, right and bottom edges excluded.
    const i64 x1 = left;
    const i64 y1 = top;
    const i64 x2 = x1 + width;
    const i64 y2 = y1 + reachableHeight;
    for (const QRect& s : screens) {
        const i64 w = std::min<i64>(x2, i64(s.x()) + s.width()) - std::max<i64>(x1, s.x());
        const i64 h = std::min<i64>(y2, i64(s.y()) + s.height()) - std::max<i64>(y1, s.y());
        if (w >= reachableWidth && h >= reachableHeight) {
            return QPoint(left, top);
        }
    }
    return fallback;
}

bool mostlyOnAScreen(const QRect& place, std::span<const QRect> screens)
{
    using i64 = long long;
    const i64 area = i64(place.width()) * place.height();
    if (area <= 0) {
        return false;
    }
    for (const QRect& s : screens) {
        const i64 w = std::min<i64>(i64(place.x()) + place.width(), i64(s.x()) + s.width()) -
                      std::max<i64>(place.x(), s.x());
        const i64 h = std::min<i64>(i64(place.y()) + place.height(), i64(s.y()) + s.height()) -
                      std::max<i64>(place.y(), s.y());
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
                    const ToolWindowKeys& keys, QString* error)
{
    state::SettingsFile settings(settingsBase);
    const state::Setting placement[] = {{QString::fromLatin1(keys.top), window.y()},
                                        {QString::fromLatin1(keys.left), window.x()},
                                        {QString::fromLatin1(keys.clearness), opacity}};
    return settings.write(placement, error);
}

} // namespace koyomi::widgets
