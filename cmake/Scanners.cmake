# geoproof_twin_scanners(TARGET RULES [PARSER BISON_TARGET]): generates two scanners from the
# rule file RULES and compiles both into TARGET; with PARSER, after the header of that bison
# target, which the rule file includes.
#   blocklex  full tables (-Cf -8) for files and pipes: about a third faster. (flex's "fast"
#             tables, -CF, are a few per cent faster still, but their scanner reads past the
#             end of its transition table on some bytes above 0x7f.)
#   linelex   flex's interactive scanner, for a terminal.
# A full-table scanner looks at the byte after a token before it acts on it, so on a terminal
# it would hold back the last token of a typed line until the next line comes. flex's prefix
# option gives each its own names (blocklex, blockin, ... and linelex, linein, ...), so the
# rule file names them as usual; common/scanners.hpp picks one at run time.
function(geoproof_twin_scanners target rules)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "PARSER" "")
  get_filename_component(base ${rules} NAME_WE)
  set(flags_block "-Cf -8 -Pblock")
  set(flags_line "-Pline")
  foreach(kind block line)
    flex_target(${target}_${kind} ${rules} ${CMAKE_CURRENT_BINARY_DIR}/${base}-${kind}.cpp
                COMPILE_FLAGS "${flags_${kind}}")
    target_sources(${target} PRIVATE ${FLEX_${target}_${kind}_OUTPUTS})
    if(arg_PARSER)
      add_flex_bison_dependency(${target}_${kind} ${arg_PARSER})
    endif()
  endforeach()
endfunction()
