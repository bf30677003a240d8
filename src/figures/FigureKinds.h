// The nine figure kinds in the order of the Draw tool's pages.
#pragma once

#include <array>

namespace koyomi::figures {

inline constexpr int kFigureCount = 9;
inline constexpr int kGraphPaperKind = 0;
// The picture figure has no renderer: its picture control shows the JPEG.
inline constexpr int kPictureKind = 5;

// Page and library group captions, UTF-8.
inline constexpr std::array<const char*, kFigureCount> kFigureCaptions{
    "方眼", "グリッド", "斜方眼", "円", "時計", "画像", "数直線", "俵", "分数タイル",
};

} // namespace koyomi::figures
