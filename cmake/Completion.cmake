# The bash completion of every program of the catalogue, made from cmake/completion.bash.in.
# geoproof_write_completion(<dir>) writes it to <dir>/<first program>, with a link to it under
# each other program's name, and installs the file and the links where bash-completion looks
# for a command's completion: share/bash-completion/completions/PROGRAM under the prefix
# (/usr/share/... from the Debian package; bash-completion also reads /usr/local/share/...).
set(GEOPROOF_COMPLETION_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/completion.bash.in)

function(geoproof_write_completion dir)
  get_property(programs GLOBAL PROPERTY GEOPROOF_PROGRAMS)
  set(GEOPROOF_COMPLETION_CASES "")
  foreach(program ${programs})
    get_property(options GLOBAL PROPERTY GEOPROOF_OPTIONS_${program})
    list(APPEND options ${GEOPROOF_COMMON_OPTIONS})
    set(entries "")
    while(options)
      list(POP_FRONT options entry help)
      string(APPEND entries " ${entry}")
    endwhile()
    string(STRIP "${entries}" entries)
    string(APPEND GEOPROOF_COMPLETION_CASES "    ${program}) echo '${entries}' ;;\n")
  endforeach()
  list(JOIN programs " " GEOPROOF_COMPLETION_PROGRAMS)
  list(POP_FRONT programs first)
  configure_file(${GEOPROOF_COMPLETION_TEMPLATE} ${dir}/${first} @ONLY)
  set(files ${dir}/${first})
  foreach(program ${programs})
    file(CREATE_LINK ${first} ${dir}/${program} SYMBOLIC)
    list(APPEND files ${dir}/${program})
  endforeach()
  install(FILES ${files} DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
  set(GEOPROOF_COMPLETION ${dir}/${first} PARENT_SCOPE)
endfunction()
