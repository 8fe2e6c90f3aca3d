// tiffwalker: the shutter count of Nikon NEF and JPEG files on the command
// line, one file or whole photo libraries.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "file_outcome.h"
#include "file_walk.h"
#include "host_system.h"
#include "interrupt.h"
#include "ordered_reading.h"
#include "progress_line.h"
#include "readout.h"
#include "report_writer.h"
#include "tally.h"
#include "tiffwalker.h"

using namespace frametally::cli;
using frametally::Inspector;

namespace {

constexpr int kUsageError = 2;

constexpr const char* kDescription =
    "Prints the shutter count that a Nikon camera recorded in NEF and JPEG files: how many pictures the\n"
    "camera had taken. Name files, or folders to read their NEF and JPEG files (-r: every folder below too).\n"
    "The result is the count, or \"Not Readable\", \"No EXIF data\" or \"No Count\".";

constexpr const char* kFooter = R"(Output:
  One file in text format: its result text as the only line.
  Several files or a folder, text format: a table with each file's result, camera, serial number,
  date taken and lens, a "why:" line under each file without a count, and a summary with the
  highest count of each camera body. Files come in the order named; a folder's files sorted by path.
  --format tsv: a header line, then path, result, status, make, model, serial,
  date_time_original, lens and reason, tab-separated, with \\ \t \n \r escaped.
  --format json: one JSON object per line with the same fields ("result" null and "message" set
  for a raised error); "reason" for every file without a count; "path_hex" gives a path's exact
  bytes when it is not UTF-8.
  status is one of count, not_readable, no_exif, no_count, error.

Folders: names ending in .nef, .jpg or .jpeg in any case are read; files named on the command
line are always read. Symbolic links to folders are followed, each folder once. A file reached
twice is read once. Folders that cannot be listed are reported on standard error.

Files are read on as many threads as there are processors (-j N for N, -j1 for one at a time);
the output is the same whatever the number, every file in its place.

A progress line appears on standard error when it is a terminal and the run takes more than half
a second. Ctrl-C stops after the files being read and prints what was read; a second Ctrl-C ends
at once.

Exit status: 0 every file gave a count, 1 some gave a failure text (or a folder could not be read),
3 some reading raised an error, 2 usage error, 130 stopped by Ctrl-C.

Examples:
  tiffwalker DSC_0001.NEF
  tiffwalker -r ~/Pictures
  tiffwalker -r --format json /media/card | jq -r 'select(.status=="count") | .result')";

Format formatNamed(const std::string& name) {
    if (name == "tsv") return Format::Tsv;
    if (name == "json") return Format::Json;
    return Format::Text;
}

// Where the engine's own messages and listings go.
enum class EngineText {
    Direct,    // straight to the run's stream while the file is read (one thread)
    Held,      // kept with the file until its turn comes (several threads)
    Discarded  // not wanted
};

// Inspects files in a reading context of its own, one per thread.
class InspectingReader : public FileReader {
public:
    InspectingReader(bool trace, bool problems, EngineText engineText, std::ostream& direct, ProgressLine& progress)
        : engineText_(engineText), progress_(progress), discarded_(nullptr) {
        tiffwalker::ReadingContext& context = inspector_.context();
        context.setOption(tiffwalker::kTraceSwitch, trace);
        context.setOption(tiffwalker::kProblemReportSwitch, problems);
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

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{kDescription, "tiffwalker"};
    std::vector<std::string> operands;
    bool recursive = false;
    std::string formatName = "text";
    bool trace = false;
    bool problems = false;
    unsigned threads = availableProcessors();
    app.add_option("PATH", operands, "NEF or JPEG files, or folders of them")->required();
    app.add_flag("-r,--recursive", recursive, "Read the folders below the named folders too");
    app.add_option("--format", formatName, "Output format: text (default), tsv or json")
        ->check(CLI::IsMember({"text", "tsv", "json"}));
    app.add_flag("--trace", trace, "Print the full diagnostic listing of each file on standard output");
    app.add_flag("--problems", problems, "Report directories that are refused as malformed");
    app.add_option("-j,--jobs", threads, "Read N files at a time, on N threads (default: the number of processors)")
        ->type_name("N")
        ->check(CLI::Range(1u, 256u));
    app.set_version_flag("--version", std::string("tiffwalker ") + FRAMETALLY_VERSION);
    app.footer(kFooter);
    // "/photos/a.nef" is a path on every system, never a Windows-style option.
    app.allow_windows_style_options(false);
    // UTF-8 arguments on every system (on Windows from the wide command line).
    std::vector<std::string> arguments = commandLineArguments(argc, argv);
    std::vector<char*> argumentPointers;
    for (std::string& argument : arguments) argumentPointers.push_back(argument.data());
    try {
        app.parse(static_cast<int>(argumentPointers.size()), argumentPointers.data());
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error);
        return code == 0 ? 0 : kUsageError;
    }

    prepareStandardStreams();
    std::ios::sync_with_stdio(false);
    watchForInterrupt();
    ProgressLine progress(std::cerr, std::cout, isTerminal(StandardStream::Error));

    WalkOptions walk;
    walk.recursive = recursive;
    walk.keepGoing = [] { return !interruptRequested(); };
    walk.found = [&progress](size_t found) { progress.searching(found); };
    walk.problem = [&progress](const WalkProblem& problem) {
        progress.clear();
        std::cerr << "tiffwalker: cannot read folder " << problem.path << ": " << problem.error << "\n";
    };
    const FileList files = collectFiles(operands, walk);

    const bool batch = operands.size() > 1 || files.anyFolder;
    const auto writer = makeReportWriter(formatNamed(formatName), batch, std::cout, files.paths);
    // With --trace the listing is the output. Otherwise the engine's own
    // messages and raised errors go to standard error, except beside a table
    // on the terminal: each row's reason already says what they would, so
    // they are left out rather than breaking into the table.
    const bool tableOnTerminal = batch && formatNamed(formatName) == Format::Text && isTerminal(StandardStream::Output);
    const bool quiet = tableOnTerminal && !trace && !problems;
    std::ostream& engineStream = trace ? std::cout : std::cerr;
    // Several threads hold each file's engine text back until the file's
    // turn, so that it comes out in file order.
    const EngineText engineText = quiet                                   ? EngineText::Discarded
                                  : threads > 1 && files.paths.size() > 1 ? EngineText::Held
                                                                          : EngineText::Direct;
    Tally tally;
    OrderedReadingOptions reading;
    reading.threads = threads;
    // A listing runs to megabytes: one waiting per thread is enough.
    reading.filesAheadPerThread = trace ? 1 : 4;
    reading.makeReader = [&] {
        return std::make_unique<InspectingReader>(trace, problems, engineText, engineStream, progress);
    };
    reading.keepGoing = [] { return !interruptRequested(); };
    reading.deliver = [&](const ReadFile& file) {
        const FileOutcome& outcome = file.outcome;
        progress.clear();
        if (!file.engineText.empty()) engineStream << file.engineText;
        if (outcome.status == Status::Error && !quiet) {
            std::cout.flush();
            std::cerr << "error: " << (batch ? outcome.path + ": " : std::string()) << outcome.message << "\n";
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
    std::cout.flush();

    if (end.interrupted) return kInterruptedExitCode;
    return files.problems.empty() ? tally.exitCode() : std::max(tally.exitCode(), 1);
}
