#include "run.h"

#include <algorithm>
#include <memory>
#include <sstream>
#include <utility>

#include "file_outcome.h"
#include "file_walk.h"
#include "interrupt.h"
#include "ordered_reading.h"
#include "progress_line.h"
#include "readout.h"
#include "tally.h"

namespace frametally::cli {

namespace {

// Inspects files in a reading context of its own, one per thread.
class InspectingReader : public FileReader {
public:
    InspectingReader(const RunOptions& options, EngineText engineText, std::ostream& direct, ProgressLine& progress)
        : engineText_(engineText), progress_(progress), discarded_(nullptr) {
        tiffwalker::ReadingContext& context = inspector_.context();
        context.setOption(tiffwalker::kTraceSwitch, options.trace);
        context.setOption(tiffwalker::kProblemReportSwitch, options.problems);
        // A TSV or JSON row already says that a file is not readable or has
        // no EXIF data: standard error keeps what the rows do not say.
        context.setOption(tiffwalker::kQuietFailuresSwitch, options.format != Format::Text && !options.trace);
        context.setOutput(engineText == EngineText::Direct ? direct
                          : engineText == EngineText::Held ? static_cast<std::ostream&>(held_)
                                                           : discarded_);
    }

    ReadFile read(const std::string& path) override {
        ReadFile file;
        // Only on the thread that draws the progress line: the engine may
        // write to the terminal below it.
        if (engineText_ == EngineText::Direct) progress_.clear();
        file.outcome = inspector_.inspect(path);
        if (engineText_ == EngineText::Held && held_.tellp() > 0) {
            file.engineText = held_.str();
            held_.str(std::string());
        }
        return file;
    }

private:
    Inspector inspector_;
    EngineText engineText_;
    ProgressLine& progress_;
    std::ostringstream held_;
    std::ostream discarded_;
};

bool quietFor(const RunOptions& options, bool batch) {
    const bool tableOnTerminal = (batch || options.history) && options.format == Format::Text && options.outIsTerminal;
    return tableOnTerminal && !options.trace && !options.problems;
}

}  // namespace

EngineText engineTextFor(const RunOptions& options, bool batch, size_t files) {
    if (quietFor(options, batch)) return EngineText::Discarded;
    return options.threads > 1 && files > 1 ? EngineText::Held : EngineText::Direct;
}

int run(const RunOptions& options, std::ostream& out, std::ostream& err) {
    ProgressLine progress(err, out, options.errIsTerminal);

    WalkOptions walk;
    walk.recursive = options.recursive;
    walk.keepGoing = [] { return !interruptRequested(); };
    walk.found = [&progress](size_t found) { progress.searching(found); };
    walk.problem = [&](const WalkProblem& problem) {
        progress.clear();
        err << "tiffwalker: cannot read folder " << problem.path << ": " << problem.error << "\n";
    };
    const FileList files = collectFiles(options.operands, walk);

    const bool batch = options.operands.size() > 1 || files.anyFolder;
    const auto writer = options.history ? makeHistoryWriter(options.format, out, files.paths)
                                        : makeReportWriter(options.format, batch, out, files.paths);
    // With --trace the listing is the output. Otherwise the engine's own
    // messages and raised errors go to err, except when quiet.
    const bool quiet = quietFor(options, batch);
    std::ostream& engineStream = options.trace ? out : err;
    const EngineText engineText = engineTextFor(options, batch, files.paths.size());
    Tally tally;
    OrderedReadingOptions reading;
    reading.threads = options.threads;
    // A listing runs to megabytes: one waiting per thread is enough.
    reading.filesAheadPerThread = options.trace ? 1 : 4;
    reading.makeReader = [&] {
        return std::make_unique<InspectingReader>(options, engineText, engineStream, progress);
    };
    reading.keepGoing = [] { return !interruptRequested(); };
    reading.deliver = [&](const ReadFile& file) {
        const FileOutcome& outcome = file.outcome;
        progress.clear();
        if (!file.engineText.empty()) engineStream << file.engineText;
        // A history shows no row per file: a raised error is said here always.
        if (outcome.status == Status::Error && (!quiet || options.history)) {
            out.flush();
            err << "error: " << (batch ? outcome.path + ": " : std::string()) << outcome.message << "\n";
        }
        writer->row(outcome);
        tally.add(outcome);
        progress.reading(tally.files(), files.paths.size());
    };
    OrderedReading(files.paths, std::move(reading)).run();
    progress.clear();

    RunEnd end;
    end.planned = files.paths.size();
    end.interrupted = interruptRequested() || files.stopped;
    end.searchStopped = files.stopped;
    end.problems = files.problems;
    writer->finish(tally, end);
    out.flush();

    if (end.interrupted) return kInterruptedExitCode;
    return files.problems.empty() ? tally.exitCode() : std::max(tally.exitCode(), 1);
}

}  // namespace frametally::cli
