#pragma once
// A progress line on standard error, for people watching a long run: shown
// only when standard error is a terminal and the run has lasted more than a
// moment, redrawn a few times a second, and cleared before other output.
#include <chrono>
#include <cstddef>
#include <ostream>

namespace frametally::cli {

class ProgressLine {
public:
    // Writes to err only when enabled (standard error is a terminal).
    ProgressLine(std::ostream& err, std::ostream& out, bool enabled);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void searching(size_t found);
    void reading(size_t done, size_t total);
    // Takes the line away, so that what is written next starts a clean line.
    void clear();

private:
    bool due();
    void draw(const std::string& text);

    std::ostream& err_;
    std::ostream& out_;
    bool enabled_;
    bool shown_ = false;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastDrawn_;
};

}  // namespace frametally::cli
