# Turns tables/shutter_ratings.tsv into the C++ table the library looks ratings
# up in (cmake -DIN=... -DOUT=... -P make_shutter_ratings.cmake). A row that is
# not of the table's form stops the build here, naming the row, so that no
# figure reaches the program half-read.
cmake_minimum_required(VERSION 3.20)

if(NOT IN OR NOT OUT)
  message(FATAL_ERROR "make_shutter_ratings: IN and OUT are required")
endif()

file(READ "${IN}" text)
# CMake's lists are separated by semicolons, and square brackets keep the
# semicolons between them from separating: either in the table would split or
# join fields without a word, so the table may hold none of them.
if(text MATCHES "[;]|\\[|\\]")
  message(FATAL_ERROR "${IN}: a semicolon or square bracket in the table (none of its fields may hold one)")
endif()
string(REPLACE "\r" "" text "${text}")
string(REPLACE "\n" ";" lines "${text}")

set(makers Nikon Sony Pentax Canon Fujifilm)
set(seen "")
set(body "")
set(header_seen FALSE)
set(line_number 0)
foreach(line IN LISTS lines)
  math(EXPR line_number "${line_number} + 1")
  if(line STREQUAL "" OR line MATCHES "^#")
    continue()
  endif()
  if(NOT header_seen)
    if(NOT line STREQUAL "make\tmodel\trated_releases\trated\tsource\tkind\tread_on")
      message(FATAL_ERROR "${IN}:${line_number}: the header is not make, model, rated_releases, rated, source, kind, read_on")
    endif()
    set(header_seen TRUE)
    continue()
  endif()
  string(REPLACE "\t" ";" fields "${line}")
  list(LENGTH fields count)
  if(NOT count EQUAL 7)
    message(FATAL_ERROR "${IN}:${line_number}: ${count} fields, 7 expected")
  endif()
  list(GET fields 0 make)
  list(GET fields 1 model)
  list(GET fields 2 releases)
  list(GET fields 3 rated)
  list(GET fields 4 source)
  list(GET fields 5 kind)
  list(GET fields 6 read_on)
  if(NOT make IN_LIST makers)
    message(FATAL_ERROR "${IN}:${line_number}: maker '${make}' is none of ${makers}")
  endif()
  if(model STREQUAL "" OR model MATCHES "^[ ]" OR model MATCHES "[ ]$")
    message(FATAL_ERROR "${IN}:${line_number}: the model is empty or padded")
  endif()
  # At most 4294967295, the largest figure the table holds: ten digits at most,
  # and a ten-digit figure no higher than 4294967295.
  if(NOT releases MATCHES "^[1-9][0-9]?[0-9]?[0-9]?[0-9]?[0-9]?[0-9]?[0-9]?[0-9]?[0-9]?$"
     OR (releases MATCHES "^..........$" AND releases STRGREATER "4294967295"))
    message(FATAL_ERROR "${IN}:${line_number}: rated_releases '${releases}' is not a positive 32-bit figure")
  endif()
  if(rated STREQUAL "")
    message(FATAL_ERROR "${IN}:${line_number}: the row does not say what is rated")
  endif()
  if(NOT source MATCHES "^https?://[^ \"\\\\]+$")
    message(FATAL_ERROR "${IN}:${line_number}: the source is not a web address")
  endif()
  if(NOT kind STREQUAL "maker" AND NOT kind STREQUAL "press")
    message(FATAL_ERROR "${IN}:${line_number}: kind '${kind}' is neither maker nor press")
  endif()
  if(NOT read_on MATCHES "^20[0-9][0-9]-[01][0-9]-[0-3][0-9]$")
    message(FATAL_ERROR "${IN}:${line_number}: read_on '${read_on}' is not a date (YYYY-MM-DD)")
  endif()
  set(key "${make}/${model}")
  if(key IN_LIST seen)
    message(FATAL_ERROR "${IN}:${line_number}: ${make} ${model} has a row already")
  endif()
  list(APPEND seen "${key}")
  foreach(field model rated)
    string(REPLACE "\\" "\\\\" ${field} "${${field}}")
    string(REPLACE "\"" "\\\"" ${field} "${${field}}")
  endforeach()
  string(APPEND body "    {Maker::${make}, \"${model}\", ${releases}u, \"${rated}\", \"${source}\", \"${kind}\", \"${read_on}\"},\n")
endforeach()
if(NOT header_seen)
  message(FATAL_ERROR "${IN}: no header line")
endif()

set(content "// Made from shutter_ratings.tsv by make_shutter_ratings.cmake at build time: edit the table, not this file.
#include \"shutter_ratings.h\"

namespace tiffwalker {

namespace {

using tiffwalker::Maker;

const ShutterRating kRatings[] = {
${body}};

}  // namespace

std::span<const ShutterRating> shutterRatings() { return kRatings; }

}  // namespace tiffwalker
")
# Written only when it changes, so that a touched but unchanged table
# rebuilds nothing.
if(EXISTS "${OUT}")
  file(READ "${OUT}" old)
  if(old STREQUAL content)
    return()
  endif()
endif()
file(WRITE "${OUT}" "${content}")
