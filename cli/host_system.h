#pragma once
// What the command line asks of the system it runs on, one implementation per
// system (host_system_posix.cpp, host_system_windows.cpp): whether a standard
// stream is a terminal, the command line's arguments in UTF-8, and standard
// streams set up to carry UTF-8 bytes unchanged.
#include <string>
#include <vector>

namespace frametally::cli {

enum class StandardStream { Output, Error };

bool isTerminal(StandardStream stream);

// The program's arguments in UTF-8, the program's name first. On Windows they
// come from the wide command line: the char* arguments are in the ANSI code
// page, where names in other scripts arrive as "????".
std::vector<std::string> commandLineArguments(int argc, char** argv);

// Standard output and error write bytes as given: no "\n" made "\r\n" (a
// --trace listing and TSV stay byte for byte those of every system), and a
// console shows UTF-8.
void prepareStandardStreams();

}  // namespace frametally::cli
