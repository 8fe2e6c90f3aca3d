// tiffwalker: the shutter count of camera raw and JPEG files on the command
// line, one file or whole photo libraries.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "file_types.h"
#include "file_walk.h"
#include "host_system.h"
#include "interrupt.h"
#include "ordered_reading.h"
#include "run.h"
#ifdef FRAMETALLY_HAVE_CAMERA
#include "camera_run.h"
#endif

using namespace frametally::cli;

namespace {

constexpr const char* kDescription =
    "Prints the shutter count that a camera recorded in its raw and JPEG files (Nikon, Sony, Pentax, the\n"
    "Canon bodies that record one, Fujifilm's image count): how many pictures the camera had taken.\n"
    "Name files, or folders to read the camera files in them (-r: every folder below too).\n"
    "The result is the count, or \"Not Readable\", \"No EXIF data\" or \"No Count\".";

constexpr const char* kFooter = R"(Output:
  One file in text format: its result text as the only line.
  Several files or a folder, text format: a table with each file's result, camera, serial number,
  date taken and lens, a "why:" line under each file without a count, a "counts:" line under each
  count saying what it counts, a "mechanical releases:" line under the count of a body that records
  them apart, and a summary with the highest count of each camera body. Files come in the order named; a folder's files sorted by path.
  --format tsv: a header line, then path, result, status, make, model, serial,
  date_time_original, lens, reason, maker, count_kind (mechanical_releases, all_exposures,
  image_count or all_releases), mechanical_count, rated_releases, rated_source and source,
  tab-separated, with \\ \t \n \r escaped.
  --format json: one JSON object per line with the same fields ("result" null and "message" set
  for a raised error); "reason" for every file without a count; "path_hex" gives a path's exact
  bytes when it is not UTF-8.
  status is one of count, not_readable, no_exif, no_count, error.

History (--history): each camera body (make, model, serial number; files without a serial number
are grouped by model) with its pictures in the order taken and the count at each, its releases a
month (from pictures at least a day apart), the date its rated releases would be reached at that
rate (a projection), and anomalies, each with the two files that show it: a later picture with a
lower count, a count that rose more than 30 a second, two models with one serial number. The count
compared is the mechanical count where a file records one beside its count.
  text: one block per body.
  --format tsv: a header line, then per body a row per picture and one row for the body, columns
  row (reading or body), make, model, serial, maker, count_kind, path, date_time_original, count,
  anomaly (lower_count, impossible_rate, shared_serial), anomaly_file, and on body rows readings,
  undated, first_seen, last_seen, releases_per_month, rated_releases, projected_date (a day, or
  "passed"), anomalies.
  --format json: the same rows as JSON objects, numbers as numbers, with anomaly_words,
  rated_source, and serial_shown and date_shown (as the other front ends show them).

@FOLDERS@ Symbolic links to folders are followed, each folder once. A file reached
twice is read once. Folders that cannot be listed are reported on standard error.

Files are read on as many threads as there are processors (-j N for N, -j1 for one at a time);
the output is the same whatever the number, every file in its place.

A progress line appears on standard error when it is a terminal and the run takes more than half
a second. Ctrl-C stops after the files being read and prints what was read; a second Ctrl-C ends
at once.

Exit status: 0 every file gave a count, 1 some gave a failure text (or a folder could not be read),
3 some reading raised an error, 2 usage error, 130 stopped by Ctrl-C.

Cameras (--camera): the count a connected Canon EOS, Fujifilm or Olympus / OM System body gives over
USB, a row each in the same formats, source "camera" and the port where a file has its path.

Examples:
  tiffwalker DSC_0001.NEF
  tiffwalker --camera
  tiffwalker -r ~/Pictures
  tiffwalker -r --history ~/Pictures
  tiffwalker -r --format json /media/card | jq -r 'select(.status=="count") | .result')";

// The footer, with the file-name endings a folder walk takes from the list of
// file types read, its lines wrapped as the rest of the footer.
std::string footer() {
    const std::vector<std::string> extensions = frametally::fileExtensions();
    std::string folders = "Folders: names ending in";
    for (size_t i = 0; i < extensions.size(); ++i) {
        folders += i == 0 ? " ." : i + 1 == extensions.size() ? " or ." : ", .";
        folders += extensions[i];
    }
    folders += " in any case are read; files named on the command line are always read.";
    std::string wrapped;
    size_t lineStart = 0;
    for (size_t at = 0; at < folders.size();) {
        const size_t next = std::min(folders.find(' ', at + 1), folders.size());
        if (at > 0 && wrapped.size() - lineStart + (next - at) > 100) {
            wrapped += '\n';
            lineStart = wrapped.size();
            wrapped.append(folders, at + 1, next - at - 1);
        } else {
            wrapped.append(folders, at, next - at);
        }
        at = next;
    }
    std::string text = kFooter;
    text.replace(text.find("@FOLDERS@"), 9, wrapped);
    return text;
}

Format formatNamed(const std::string& name) {
    if (name == "tsv") return Format::Tsv;
    if (name == "json") return Format::Json;
    return Format::Text;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{kDescription, "tiffwalker"};
    std::vector<std::string> operands;
    bool recursive = false;
    std::string formatName = "text";
    bool trace = false;
    bool problems = false;
    bool history = false;
    unsigned threads = availableProcessors();
    app.add_option("PATH", operands, "Camera files (" + frametally::fileTypeNamesText() + "), or folders of them");
#ifdef FRAMETALLY_HAVE_CAMERA
    std::string cameraPort;
    CLI::Option* camera =
        app.add_option("--camera", cameraPort,
                       "Read the count of every connected camera, or of the one at PORT (usb:001,006, "
                       "ptpip:ADDRESS:PORT:PORT), instead of files")
            ->expected(0, 1)
            ->type_name("[PORT]");
#endif
    app.add_flag("-r,--recursive", recursive, "Read the folders below the named folders too");
    app.add_option("--format", formatName, "Output format: text (default), tsv or json")
        ->check(CLI::IsMember({"text", "tsv", "json"}));
    app.add_flag("--trace", trace, "Print the full diagnostic listing of each file on standard output");
    app.add_flag("--problems", problems, "Report directories that are refused as malformed");
    app.add_flag("--history", history,
                 "Each camera body's counts in the order its pictures were taken, its rate of use and anomalies");
    app.add_option("-j,--jobs", threads, "Read N files at a time, on N threads (default: the number of processors)")
        ->type_name("N")
        ->check(CLI::Range(1u, 256u));
    app.set_version_flag("--version", std::string("tiffwalker ") + FRAMETALLY_VERSION);
    app.footer(footer());
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
        return code == 0 ? 0 : kUsageErrorExitCode;
    }

#ifdef FRAMETALLY_HAVE_CAMERA
    if (camera->count() > 0) {
        if (!operands.empty()) {
            std::cerr << "--camera reads cameras, not files: name no PATH with it\n";
            return kUsageErrorExitCode;
        }
        prepareStandardStreams();
        return runCamera(cameraPort, formatNamed(formatName), std::cout, std::cerr);
    }
#endif
    if (operands.empty()) {
        std::cerr << "PATH is required\nRun with --help for more information.\n";
        return kUsageErrorExitCode;
    }
    prepareStandardStreams();
    std::ios::sync_with_stdio(false);
    watchForInterrupt();
    RunOptions options;
    options.operands = std::move(operands);
    options.recursive = recursive;
    options.format = formatNamed(formatName);
    options.trace = trace;
    options.problems = problems;
    options.history = history;
    options.threads = threads;
    options.outIsTerminal = isTerminal(StandardStream::Output);
    options.errIsTerminal = isTerminal(StandardStream::Error);
    return run(options, std::cout, std::cerr);
}
