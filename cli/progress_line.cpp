#include "progress_line.h"

#include <string>

namespace frametally::cli {

namespace {
using Clock = std::chrono::steady_clock;
constexpr auto kMoment = std::chrono::milliseconds(500);
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
}  // namespace

ProgressLine::ProgressLine(std::ostream& err, std::ostream& out, bool enabled)
    : err_(err), out_(out), enabled_(enabled), start_(Clock::now()), lastDrawn_(start_) {}

ProgressLine::~ProgressLine() { clear(); }

bool ProgressLine::due() {
    if (!enabled_) return false;
    const auto now = Clock::now();
    if (now - start_ < kMoment || (shown_ && now - lastDrawn_ < kRedrawInterval)) return false;
    lastDrawn_ = now;
    return true;
}

void ProgressLine::draw(const std::string& text) {
    // Results written so far go out first, so that the line stays below them
    // when standard output is the same terminal.
    out_.flush();
    err_ << "\r\x1b[K" << text << std::flush;
    shown_ = true;
}

void ProgressLine::searching(size_t found) {
    if (due()) draw("Searching folders: " + std::to_string(found) + " files found");
}

void ProgressLine::reading(size_t done, size_t total) {
    if (!due()) return;
    const size_t percent = total == 0 ? 100 : done * 100 / total;
    draw("Reading: " + std::to_string(done) + " of " + std::to_string(total) + " files (" + std::to_string(percent) +
         "%)");
}

void ProgressLine::clear() {
    if (!shown_) return;
    err_ << "\r\x1b[K" << std::flush;
    shown_ = false;
}

}  // namespace frametally::cli
