// The text table for people: one line per file with its columns lined up, a
// "why:" line under every file without a count, and a summary at the end.
#include <algorithm>
#include <string>

#include "rated_life.h"
#include "report_writer.h"
#include "shown_texts.h"
#include "text_escape.h"

namespace frametally::cli {

namespace {

using frametally::ShownTexts;
using frametally::shownTextsOf;

constexpr size_t kMaxPathWidth = 48;
constexpr size_t kResultWidth = 12;  // "Not Readable", "No EXIF data"
constexpr size_t kCameraWidth = 16;
constexpr size_t kSerialWidth = 12;
constexpr size_t kTakenWidth = 19;  // "2026-12-07 10:00:00"

const char* resultWord(const FileOutcome& outcome) {
    return outcome.status == Status::Error ? "Error" : outcome.result.c_str();
}

std::string plural(size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

class Line {
public:
    // Adds a column, padded to width (a longer text pushes the rest along).
    Line& column(const std::string& text, size_t width) {
        const std::string shown = escapedForDisplay(text);
        text_ += shown;
        text_.append(width > displayWidth(shown) ? width - displayWidth(shown) : 0, ' ');
        text_ += "  ";
        return *this;
    }
    std::string finished() {
        while (!text_.empty() && text_.back() == ' ') text_.pop_back();
        return text_;
    }

private:
    std::string text_;
};

class TextTableWriter : public ReportWriter {
public:
    TextTableWriter(std::ostream& out, const std::vector<std::string>& paths) : out_(out) {
        for (const std::string& path : paths) {
            pathWidth_ = std::max(pathWidth_, std::min(kMaxPathWidth, displayWidth(escapedForDisplay(path))));
        }
    }

    void row(const FileOutcome& outcome) override {
        if (!headerWritten_) {
            out_ << Line()
                        .column("FILE", pathWidth_)
                        .column("RESULT", kResultWidth)
                        .column("CAMERA", kCameraWidth)
                        .column("SERIAL", kSerialWidth)
                        .column("TAKEN", kTakenWidth)
                        .column("LENS", 0)
                        .finished()
                 << '\n';
            headerWritten_ = true;
        }
        const ShownTexts shown = shownTextsOf(outcome);
        out_ << Line()
                    .column(outcome.path, pathWidth_)
                    .column(resultWord(outcome), kResultWidth)
                    .column(shown.camera, kCameraWidth)
                    .column(shown.serialNumber, kSerialWidth)
                    .column(shown.dateTaken, kTakenWidth)
                    .column(shown.lens, 0)
                    .finished()
             << '\n';
        if (!outcome.reason.empty()) {
            out_ << std::string(pathWidth_ + 2, ' ') << "why: " << escapedForDisplay(outcome.reason) << '\n';
        }
        // What the count counts, and the mechanical releases a body records
        // beside it.
        if (outcome.countKind != tiffwalker::CountKind::None) {
            out_ << std::string(pathWidth_ + 2, ' ') << "counts: " << frametally::countKindWords(outcome.countKind)
                 << '\n';
        }
        if (outcome.mechanicalCount) {
            out_ << std::string(pathWidth_ + 2, ' ') << "mechanical releases: " << *outcome.mechanicalCount << '\n';
        }
        // The count set against the releases the maker rates the shutter for,
        // where a rating is published.
        if (const std::string rated = frametally::ratedLifeText(outcome); !rated.empty()) {
            out_ << std::string(pathWidth_ + 2, ' ') << "rated: " << rated << '\n';
        }
    }

    void finish(const Tally& tally, const RunEnd& end) override {
        if (headerWritten_) out_ << '\n';
        if (end.interrupted && end.searchStopped) {
            out_ << "Interrupted while searching folders: no file read.\n";
            return;
        }
        if (end.interrupted) {
            out_ << "Interrupted: " << tally.files() << " of " << plural(end.planned, "file", "files") << " read.\n";
        }
        if (tally.files() == 0 && !end.interrupted) {
            out_ << "No camera files found.\n";
        } else {
            writeCounts(tally);
        }
        if (!end.problems.empty()) {
            out_ << plural(end.problems.size(), "folder", "folders") << " could not be read (see above).\n";
        }
        writeBodies(tally);
    }

private:
    void writeCounts(const Tally& tally) {
        out_ << plural(tally.files(), "file", "files") << ": "
             << plural(tally.withStatus(Status::Count), "count", "counts");
        const std::pair<Status, const char*> others[] = {{Status::NoCount, "No Count"},
                                                         {Status::NoExif, "No EXIF data"},
                                                         {Status::NotReadable, "Not Readable"},
                                                         {Status::Error, "error"}};
        for (const auto& [status, word] : others) {
            const size_t n = tally.withStatus(status);
            if (n == 0) continue;
            out_ << ", " << n << " " << word;
            if (status == Status::Error && n != 1) out_ << 's';
        }
        out_ << ".\n";
    }

    // One line a body, its columns lined up: the body, its highest count,
    // what that count counts (makers count different things) and the file.
    void writeBodies(const Tally& tally) {
        if (tally.bodies().empty()) return;
        struct Shown {
            std::string name;
            std::string count;
            std::string counts;
            const BodyRecord* body;
        };
        std::vector<Shown> rows;
        size_t nameWidth = 0;
        size_t countWidth = 0;
        size_t countsWidth = 0;
        for (const auto& [key, body] : tally.bodies()) {
            Shown row{escapedForDisplay(frametally::bodyName(key.first, key.second)), std::to_string(body.highestCount),
                      frametally::countKindWords(body.countKind), &body};
            nameWidth = std::max(nameWidth, displayWidth(row.name));
            countWidth = std::max(countWidth, row.count.size());
            countsWidth = std::max(countsWidth, row.counts.size());
            rows.push_back(std::move(row));
        }
        out_ << "Highest count per camera body:\n";
        for (const Shown& row : rows) {
            out_ << "  " << row.name << std::string(nameWidth - displayWidth(row.name) + 2, ' ')
                 << std::string(countWidth - row.count.size(), ' ') << row.count << "  " << row.counts
                 << std::string(countsWidth - row.counts.size() + 2, ' ') << "in " << escapedForDisplay(row.body->path)
                 << '\n';
        }
    }

    std::ostream& out_;
    size_t pathWidth_ = 4;
    bool headerWritten_ = false;
};

}  // namespace

std::unique_ptr<ReportWriter> makeTextTableWriter(std::ostream& out, const std::vector<std::string>& paths) {
    return std::make_unique<TextTableWriter>(out, paths);
}

}  // namespace frametally::cli
