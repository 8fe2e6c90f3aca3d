#pragma once
// The tiffwalker command's policy, apart from its argument parsing: which
// files are read, how, where the engine's own text goes, when it keeps quiet,
// and the exit status. main() parses the command line and calls run(); the
// tests call run() with streams of their own.
#include <ostream>
#include <string>
#include <vector>

#include "report_writer.h"

namespace frametally::cli {

struct RunOptions {
    std::vector<std::string> operands;  // files and folders, as named
    bool recursive = false;
    Format format = Format::Text;
    bool trace = false;     // the engine's full listing on out
    bool problems = false;  // the engine's reports of refused directories
    bool history = false;   // each body's history instead of a row per file
    unsigned threads = 1;
    // Whether out and err are terminals: a table on a terminal keeps the
    // engine's messages out of it; the progress line needs one on err.
    bool outIsTerminal = false;
    bool errIsTerminal = false;
};

inline constexpr int kUsageErrorExitCode = 2;

// Reads what options name and writes the report to out, the engine's text and
// errors to err (the listing to out with trace). Returns the exit status: 0
// every file gave a count, 1 some gave a failure text or a folder could not be
// listed, 3 some reading raised an error, 130 stopped by Ctrl-C.
int run(const RunOptions& options, std::ostream& out, std::ostream& err);

// Where the engine's own messages and listings go.
enum class EngineText {
    Direct,    // straight to the run's stream while the file is read (one thread)
    Held,      // kept with the file until its turn comes (several threads)
    Discarded  // not wanted
};

// The run's routing of the engine's text: nothing beside a table on a
// terminal (each row's reason says it already) unless a listing or problem
// reports are asked for; held back when several threads read several files.
EngineText engineTextFor(const RunOptions& options, bool batch, size_t files);

}  // namespace frametally::cli
