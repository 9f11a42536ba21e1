#pragma once

// What the window says when a conversion cannot be done: a sentence in the dialog's language,
// then, on a line of its own, the reason as the command line words it.

#include <string_view>

namespace pelagor::app {

// "List a Garmin WTR/EVO file with waypoints first; nothing was converted."
inline constexpr std::string_view kNoSourceMessage =
    "請先列出含有航點的Garmin WTR/EVO檔案，沒有轉換任何檔案。";
// "The reference Garmin MapSource file cannot be used; nothing was converted."
inline constexpr std::string_view kNoReferenceMessage =
    "參考用Garmin MapSource檔案無法使用，沒有轉換任何檔案。";
// "The output file would replace an input file; nothing was written."
inline constexpr std::string_view kOutputIsInputMessage = "輸出檔會取代輸入檔，沒有寫入任何檔案。";
// "A Garmin MapSource file is converted into a GPX file only; nothing was converted."
inline constexpr std::string_view kArchiveAsGpxMessage =
    "Garmin MapSource檔案只能轉成GPX檔，沒有轉換任何檔案。";
// "The conversion failed; nothing was written."
inline constexpr std::string_view kWriteFailedMessage = "轉換失敗，沒有寫入任何檔案。";
// "The GPX file was written; the points below lie outside -90..90 degrees and were left out."
inline constexpr std::string_view kPointsLeftOutMessage =
    "GPX檔已寫入；下列的點緯度超出-90..90度，已略去。";

}  // namespace pelagor::app
