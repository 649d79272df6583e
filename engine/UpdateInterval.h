#pragma once

#include <chrono>
#include <string>

// The auto-update interval: the document keeps it as text (UpdateMinutes, default "60"); the
// timer runs every 1 to 5000 minutes. GUI-free, so the form view and `tickerlux-cli watch` read
// the text the same way.
namespace tickerlux::engine::interval {

constexpr int kDefaultMinutes = 60;
constexpr int kMinMinutes = 1;
constexpr int kMaxMinutes = 5000;

struct UpdateMinutes {
    int minutes = kDefaultMinutes;  // always kMinMinutes..kMaxMinutes
    bool rewritten = false;         // the text was replaced by "1" or "5000"
};

// Reads the interval from `text` (the document's UpdateMinutes):
// - empty: 60, text unchanged;
// - otherwise the leading decimal number (leading white space and one '+' or '-' allowed; the
//   number ends at the first non-digit; no number counts as 0);
// - below 1: text becomes "1"; above 5000 (also beyond any integer range): text becomes "5000";
// - else the value, and the text stays as typed, trailing characters included.
// A front end that shows the text refreshes it when `rewritten` is set.
UpdateMinutes GetUpdateMinutes(std::string& text);

// The timer period for an interval of `minutes` (clamped to 1..5000): minutes x 60,000 ms.
std::chrono::milliseconds TimerPeriod(int minutes);

} // namespace tickerlux::engine::interval
