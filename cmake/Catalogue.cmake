# The catalogue of the suite's programs: each program's CMakeLists names it here once, with what
# it looks for and one sample of its input and output, and the build writes the catalogue out
# for everything else that lists the programs: --help (catalogue.hpp), the tests (catalogue.hpp
# and the GEOPROOF_PROGRAMS list), the manual-page checks and bench/run (catalogue.tsv).
#
# geoproof_catalogue(<program> KIND <kind> [PHRASE <text>] [LOOKS_FOR <text>] [WRITES <text>]
#                    SAMPLE <input> OUTPUT <output>)
#   KIND: translator, filter (a value for every line it recognises), summary (a filter that
#     writes once, at the end), classifier or table.
#   PHRASE: the text every line it recognises holds (filters).
#   SAMPLE, OUTPUT: an input, and everything the program writes for it.
set(GEOPROOF_CATALOGUE_FIELDS KIND PHRASE LOOKS_FOR WRITES SAMPLE OUTPUT)

function(geoproof_catalogue program)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "${GEOPROOF_CATALOGUE_FIELDS}" "")
  set_property(GLOBAL APPEND PROPERTY GEOPROOF_PROGRAMS ${program})
  foreach(field ${GEOPROOF_CATALOGUE_FIELDS})
    set_property(GLOBAL PROPERTY GEOPROOF_${field}_${program} "${arg_${field}}")
  endforeach()
endfunction()

# `text` as a C string literal and as a field of the TSV file (tab, newline and backslash
# escaped as \t, \n and \\).
function(geoproof_escape text c_variable tsv_variable)
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\t" "\\t" text "${text}")
  string(REPLACE "\n" "\\n" text "${text}")
  set(${tsv_variable} "${text}" PARENT_SCOPE)
  string(REPLACE "\"" "\\\"" text "${text}")
  set(${c_variable} "\"${text}\"" PARENT_SCOPE)
endfunction()

# Writes catalogue.hpp and catalogue.tsv into <dir>, and sets GEOPROOF_PROGRAMS.
function(geoproof_write_catalogue dir)
  get_property(programs GLOBAL PROPERTY GEOPROOF_PROGRAMS)
  set(entries "")
  set(rows "program")
  foreach(field ${GEOPROOF_CATALOGUE_FIELDS})
    string(TOLOWER ${field} name)
    string(APPEND rows "\t${name}")
  endforeach()
  string(APPEND rows "\n")
  foreach(program ${programs})
    string(APPEND entries "    {\"${program}\"")
    string(APPEND rows "${program}")
    foreach(field ${GEOPROOF_CATALOGUE_FIELDS})
      get_property(value GLOBAL PROPERTY GEOPROOF_${field}_${program})
      geoproof_escape("${value}" c tsv)
      string(APPEND entries ", ${c}")
      string(APPEND rows "\t${tsv}")
    endforeach()
    string(APPEND entries "},\n")
    string(APPEND rows "\n")
  endforeach()
  file(CONFIGURE OUTPUT ${dir}/catalogue.hpp CONTENT [[
// The suite's programs, as their CMakeLists name them (cmake/Catalogue.cmake).  Made by the build.
#pragma once

#include <string_view>

namespace catalogue {

struct Program {
    std::string_view name;
    std::string_view kind;       // translator, filter, summary, classifier or table
    std::string_view phrase;     // the text every line a filter recognises holds
    std::string_view looks_for;  // for --help
    std::string_view writes;
    std::string_view sample;     // an input, and all the program writes for it
    std::string_view output;
};

inline constexpr Program programs[] = {
@entries@};

// The entry of `name`; the first when there is none.
constexpr const Program& find(std::string_view name)
{
    for (const Program& p : programs)
        if (p.name == name) return p;
    return programs[0];
}

}  // namespace catalogue
]] @ONLY)
  file(CONFIGURE OUTPUT ${dir}/catalogue.tsv CONTENT "${rows}" @ONLY)
  set(GEOPROOF_PROGRAMS ${programs} PARENT_SCOPE)
endfunction()
