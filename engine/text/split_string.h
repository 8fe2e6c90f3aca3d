#pragma once
// Splitting a text at a set of single delimiter characters.
#include <string>
#include <vector>

namespace tiffwalker {

// Splits text at any character of delimiters into list, which is emptied
// first, and returns the number of strings in it. Both texts end at their first
// NUL; a null or empty text or delimiter set gives 0.
//   maxCount  — at most this many strings (0 or less: no limit);
//   trim      — white space is removed at both ends of each string;
//   escapes   — a backslash is dropped and the character after it kept as it is;
//   quotes    — a string that begins with '"' runs to the next '"', delimiters
//               included;
//   keepEmpty — empty strings are kept (between two adjacent delimiters, and
//               one after a trailing delimiter), and leading delimiters are not
//               skipped.
// Blanks and tabs at the start of a string always stay in it, even when they
// are delimiters: "a  b" split at " " gives "a" and " b".
int splitString(const char* text, const char* delimiters, std::vector<std::string>& list, int maxCount, bool trim,
                bool escapes, bool quotes, bool keepEmpty);

}  // namespace tiffwalker
