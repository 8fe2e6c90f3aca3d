// tiffwalker: the shutter count of Nikon NEF and JPEG files on the command line.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "file_outcome.h"
#include "tiffwalker.h"

using frametally::cli::FileOutcome;

namespace {

constexpr int kUsageError = 2;

void report(const FileOutcome& outcome, bool withPath) {
    if (outcome.status == frametally::cli::Status::Error) {
        std::cerr << "error: " << (withPath ? outcome.path + ": " : std::string()) << outcome.message << "\n";
        return;
    }
    if (withPath) std::cout << outcome.path << '\t';
    std::cout << outcome.result << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Prints the shutter count that a Nikon camera recorded in a NEF or JPEG file.\n"
                 "The result is the count, or \"Not Readable\", \"No EXIF data\" or \"No Count\".",
                 "tiffwalker"};
    std::vector<std::string> files;
    bool trace = false;
    bool problems = false;
    app.add_option("FILE", files, "NEF or JPEG files to read")->required();
    app.add_flag("--trace", trace, "Print the full diagnostic listing of each file on standard output");
    app.add_flag("--problems", problems, "Report directories that are refused as malformed");
    app.set_version_flag("--version", std::string("tiffwalker ") + FRAMETALLY_VERSION);
    app.footer("Exit status: 0 every file gave a count, 1 some gave a failure text, "
               "3 some reading raised an error, 2 usage error.");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error);
        return code == 0 ? 0 : kUsageError;
    }

    // Without the listing, the engine's own messages go to standard error so
    // that standard output carries only results.
    tiffwalker::setEngineOutput(trace ? std::cout : std::cerr);

    int exitCode = 0;
    const bool withPath = files.size() > 1;
    for (const std::string& path : files) {
        tiffwalker::setOption(tiffwalker::kTraceSwitch, trace);
        tiffwalker::setOption(tiffwalker::kProblemReportSwitch, problems);
        const FileOutcome outcome = frametally::cli::readShutterCount(path);
        tiffwalker::resetOptions();
        std::cout.flush();
        report(outcome, withPath);
        exitCode = std::max(exitCode, frametally::cli::exitCodeOf(outcome.status));
    }
    return exitCode;
}
