# The catalogue of the suite's programs: each program's CMakeLists names it here once, with its
# command line, what it does, its exit statuses and one sample of its input and output, and the
# build writes the catalogue out for everything else that lists the programs: --help and the
# command-line reader (catalogue.hpp), report-table's columns, the tests (catalogue.hpp, the
# GEOPROOF_PROGRAMS list and geoproof_programs_of), the manual pages and their checks, the
# package check, bench/run and fuzz/run (catalogue.tsv), and the shell completion
# (cmake/Completion.cmake). The programs, and they alone, land in GEOPROOF_PROGRAM_DIR.
#
# geoproof_catalogue(<program> KIND <kind> USAGE <form>... ABOUT <text>
#                    [OPTIONS <signature> <help>...] [STATUS <code> <meaning>...]
#                    [PHRASE <text>] [LOOKS_FOR <text>] [WRITES <text>]
#                    SAMPLE <input> OUTPUT <output>)
#   KIND: translator, filter (a value for every line it recognises), summary (a filter that
#     writes once, at the end), classifier, table (reports named on its command line) or
#     comparison (directories of reports; it reads no standard input).
#   USAGE: what follows the program's name on each line of its synopsis.
#   ABOUT: what it does, in lines of at most 78 columns.
#   OPTIONS: the program's own options, each a signature and its help: the signature is the
#     long name, with "=ARG" when it takes an argument, ":a|b" after that when the argument is
#     one of a few words, and "x," before it for a short form -x; the help continues over lines.
#     --line-buffered, --help and --version, which every program takes, are not listed.
#   STATUS: each exit status and what it means.
#   PHRASE: the text every line it recognises holds (filters).
#   SAMPLE, OUTPUT: an input, and everything the program writes for it.
set(GEOPROOF_CATALOGUE_FIELDS KIND PHRASE LOOKS_FOR WRITES SAMPLE OUTPUT ABOUT)
set(GEOPROOF_CATALOGUE_LISTS USAGE OPTIONS STATUS)

function(geoproof_catalogue program)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "${GEOPROOF_CATALOGUE_FIELDS}"
                        "${GEOPROOF_CATALOGUE_LISTS}")
  set_property(GLOBAL APPEND PROPERTY GEOPROOF_PROGRAMS ${program})
  foreach(field ${GEOPROOF_CATALOGUE_FIELDS} ${GEOPROOF_CATALOGUE_LISTS})
    set_property(GLOBAL PROPERTY GEOPROOF_${field}_${program} "${arg_${field}}")
  endforeach()
endfunction()

# geoproof_programs_of(<variable> <kind>...): the catalogue's programs of those kinds, in the
# order they were named; everything that lists some of the programs takes them from here.
function(geoproof_programs_of variable)
  get_property(programs GLOBAL PROPERTY GEOPROOF_PROGRAMS)
  set(found "")
  foreach(program ${programs})
    get_property(kind GLOBAL PROPERTY GEOPROOF_KIND_${program})
    if(kind IN_LIST ARGN)
      list(APPEND found ${program})
    endif()
  endforeach()
  set(${variable} ${found} PARENT_SCOPE)
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

# The options every program takes, after its own.
set(GEOPROOF_COMMON_OPTIONS
  line-buffered "write each line of output as soon as it is complete"
  help "display this help and exit"
  version "output version information and exit")

# geoproof_remove_others(<glob> <name>...): removes what <glob> finds but the names given, so
# that nothing an earlier build left there stays behind.
function(geoproof_remove_others glob)
  file(GLOB present LIST_DIRECTORIES true ${glob})
  foreach(path ${present})
    get_filename_component(name ${path} NAME)
    if(NOT name IN_LIST ARGN)
      file(REMOVE_RECURSE ${path})
    endif()
  endforeach()
endfunction()

# Writes catalogue.hpp and catalogue.tsv into <dir>, and sets GEOPROOF_PROGRAMS.
function(geoproof_write_catalogue dir)
  get_property(programs GLOBAL PROPERTY GEOPROOF_PROGRAMS)
  set(tables "")
  set(entries "")
  set(rows "program")
  foreach(field ${GEOPROOF_CATALOGUE_FIELDS} USAGE OPTIONS)
    string(TOLOWER ${field} name)
    string(APPEND rows "\t${name}")
  endforeach()
  string(APPEND rows "\n")
  foreach(program ${programs})
    string(MAKE_C_IDENTIFIER ${program} ident)
    string(APPEND entries "    {\"${program}\"")
    string(APPEND rows "${program}")
    foreach(field ${GEOPROOF_CATALOGUE_FIELDS})
      get_property(value GLOBAL PROPERTY GEOPROOF_${field}_${program})
      geoproof_escape("${value}" c tsv)
      string(APPEND entries ", ${c}")
      string(APPEND rows "\t${tsv}")
    endforeach()

    get_property(usage GLOBAL PROPERTY GEOPROOF_USAGE_${program})
    string(REPLACE ";" "\n" usage "${usage}")
    geoproof_escape("${usage}" c tsv)
    string(APPEND entries ", ${c}")
    string(APPEND rows "\t${tsv}")

    # Options: {"name", 'x', "ARG", "choice|choice", "help"}; the TSV lists the signatures.
    get_property(options GLOBAL PROPERTY GEOPROOF_OPTIONS_${program})
    list(APPEND options ${GEOPROOF_COMMON_OPTIONS})
    set(signatures "")
    string(APPEND tables "inline constexpr Option options_${ident}[] = {\n")
    while(options)
      list(POP_FRONT options signature help)
      if(NOT signature MATCHES "^(([a-zA-Z0-9]),)?([a-z0-9-]+)(=([A-Z_]+)(:([a-z0-9|]+))?)?$")
        message(FATAL_ERROR "${program}: option signature '${signature}' is not [x,]name[=ARG[:a|b]]")
      endif()
      set(short "0")
      if(CMAKE_MATCH_2)
        set(short "'${CMAKE_MATCH_2}'")
      endif()
      geoproof_escape("${help}" c_help tsv_help)
      string(APPEND tables "    {\"${CMAKE_MATCH_3}\", ${short}, \"${CMAKE_MATCH_5}\", "
                           "\"${CMAKE_MATCH_7}\", ${c_help}},\n")
      list(APPEND signatures "${signature}")
    endwhile()
    string(APPEND tables "};\n")
    string(REPLACE ";" " " signatures "${signatures}")
    string(APPEND rows "\t${signatures}")

    # Exit statuses: {code, "meaning"}.
    get_property(statuses GLOBAL PROPERTY GEOPROOF_STATUS_${program})
    if(NOT statuses)
      message(FATAL_ERROR "${program}: the catalogue entry gives no STATUS")
    endif()
    string(APPEND tables "inline constexpr Status statuses_${ident}[] = {\n")
    while(statuses)
      list(POP_FRONT statuses code meaning)
      geoproof_escape("${meaning}" c_meaning tsv_meaning)
      string(APPEND tables "    {${code}, ${c_meaning}},\n")
    endwhile()
    string(APPEND tables "};\n")
    string(APPEND entries ", options_${ident}, statuses_${ident}},\n")
    string(APPEND rows "\n")
  endforeach()
  file(CONFIGURE OUTPUT ${dir}/catalogue.hpp CONTENT [[
// The suite's programs, as their CMakeLists name them (cmake/Catalogue.cmake).  Made by the build.
#pragma once

#include <span>
#include <string_view>

namespace catalogue {

struct Option {
    std::string_view name;      // the long name, without its dashes
    char short_name;            // the one-letter form, 0 when there is none
    std::string_view argument;  // what the argument stands for in --help; empty: it takes none
    std::string_view choices;   // the words the argument may be, joined by '|'; empty: any
    std::string_view help;      // lines after the first go on below it
};

struct Status {
    int code;
    std::string_view meaning;
};

struct Program {
    std::string_view name;
    std::string_view kind;       // translator, filter, summary, classifier, table or comparison
    std::string_view phrase;     // the text every line a filter recognises holds
    std::string_view looks_for;  // for --help
    std::string_view writes;
    std::string_view sample;     // an input, and all the program writes for it
    std::string_view output;
    std::string_view about;      // what it does, for --help
    std::string_view usage;      // each form of the command line after the name, one a line
    std::span<const Option> options;  // its own, then --line-buffered, --help and --version
    std::span<const Status> statuses;
};

@tables@
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

  # The programs, and nothing else, in GEOPROOF_PROGRAM_DIR (the top CMakeLists): anything else
  # found there is left from an earlier build and would land on the PATH of whoever puts the
  # directory there.
  if(GEOPROOF_PROGRAM_DIR)
    set_target_properties(${programs} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${GEOPROOF_PROGRAM_DIR})
    geoproof_remove_others("${GEOPROOF_PROGRAM_DIR}/*" ${programs})
  endif()
endfunction()
