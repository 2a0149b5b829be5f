# One Debian package with every program, its manual page and its shell completion, laid out as
# Debian's policy asks: `cpack -G DEB` in the build tree. The licence and the changelog go to
# share/doc/geoproof-tools under the prefix (as copyright and changelog.gz), manual pages and
# the changelog are compressed with gzip -9n (no name, no time stamp: the same text always
# gives the same bytes), and the package's Depends come from dpkg-shlibdeps (Debian package
# dpkg-dev), which reads the libraries the programs link against.
set(CPACK_PACKAGE_NAME geoproof-tools)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "geoproof-tools developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "text tools around an automated geometry theorem prover")
set(CPACK_PACKAGE_DESCRIPTION
  "Small command-line tools: script-translator turns a construction script\n\
into the prover's construction listing; the prover-log filters pick running\n\
times, proof-step counts, outcomes and errors out of the prover's reports;\n\
report-table tabulates them all for many reports at once, as CSV or JSON;\n\
report-compare puts runs of the prover side by side, with what a change\n\
gained or lost; token-classifier lists and classifies the tokens of a small\n\
procedural language. Manual pages and a bash completion for every program\n\
are included.")

# The maintainer: whoever builds a package to hand on names themselves, as Debian's tools take
# it from DEBFULLNAME and DEBEMAIL, or with -DGEOPROOF_PACKAGE_MAINTAINER="Name <address>".
if(DEFINED ENV{DEBEMAIL} AND DEFINED ENV{DEBFULLNAME})
  set(maintainer "$ENV{DEBFULLNAME} <$ENV{DEBEMAIL}>")
else()
  set(maintainer "geoproof-tools developers <geoproof-tools@example.org>")
endif()
set(GEOPROOF_PACKAGE_MAINTAINER "${maintainer}"
  CACHE STRING "Maintainer field of the Debian package: Name <address>")
# Build trees configured before this check hold the former default, at localhost, in their cache.
if(GEOPROOF_PACKAGE_MAINTAINER STREQUAL "geoproof-tools developers <geoproof-tools@localhost>")
  set_property(CACHE GEOPROOF_PACKAGE_MAINTAINER PROPERTY VALUE "${maintainer}")
endif()
if(NOT GEOPROOF_PACKAGE_MAINTAINER MATCHES "^[^<>]*[^<> ] <[^<>@ ]+@([^<>@ ]+\\.[^<>@ ]+)>$"
   OR CMAKE_MATCH_1 MATCHES "(^|\\.)(localhost|localdomain|invalid)$")
  message(FATAL_ERROR "GEOPROOF_PACKAGE_MAINTAINER '${GEOPROOF_PACKAGE_MAINTAINER}' is not "
                      "Name <address>, with an address at a real host")
endif()
set(CPACK_PACKAGE_CONTACT "${GEOPROOF_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${GEOPROOF_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Statically linked programs (GEOPROOF_STATIC, the top CMakeLists) need no shared library, and
# dpkg-shlibdeps rightly finds no Depends for them. lintian takes a PIE without libraries for a
# shared library that forgot its own: the overrides say that this is meant.
if(GEOPROOF_STATIC AND NOT GEOPROOF_SANITIZE)
  set(overrides ${CMAKE_BINARY_DIR}/lintian/geoproof-tools)
  file(WRITE ${overrides}.new
    "# The programs are static PIEs, linked so for their start-up time: nothing to load.\n"
    "geoproof-tools: shared-library-lacks-prerequisites [usr/bin/*]\n")
  file(COPY_FILE ${overrides}.new ${overrides} ONLY_IF_DIFFERENT)
  install(FILES ${overrides} DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides)
endif()

find_program(GEOPROOF_GZIP gzip REQUIRED)
# geoproof_compress(<target> <source> <output> [<source> <output>]...): each <output> is its
# <source> compressed, made by the build as part of <target>.
function(geoproof_compress target)
  set(outputs "")
  set(pairs ${ARGN})
  while(pairs)
    list(POP_FRONT pairs source output)
    add_custom_command(OUTPUT ${output}
      COMMAND sh -c "\"$0\" -9n < \"$1\" > \"$2\"" ${GEOPROOF_GZIP} ${source} ${output}
      DEPENDS ${source} VERBATIM)
    list(APPEND outputs ${output})
  endwhile()
  add_custom_target(${target} ALL DEPENDS ${outputs})
endfunction()

# copyright: the machine-readable form of LICENSE (Debian calls the MIT licence Expat).
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
if(NOT license MATCHES "Copyright \\(c\\) ([^\n]+)\n\n(.*[^\n])\n*$")
  message(FATAL_ERROR "LICENSE: no copyright line followed by the licence's text")
endif()
set(GEOPROOF_COPYRIGHT "${CMAKE_MATCH_1}")
string(REPLACE "\n\n" "\n.\n" text "${CMAKE_MATCH_2}")
string(REPLACE "\n" "\n " text "${text}")
set(GEOPROOF_LICENSE_TEXT " ${text}")
set(doc ${CMAKE_BINARY_DIR}/doc)
configure_file(${CMAKE_CURRENT_LIST_DIR}/copyright.in ${doc}/copyright @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${doc}/changelog @ONLY)
geoproof_compress(changelog ${doc}/changelog ${doc}/changelog.gz)
install(FILES ${doc}/copyright ${doc}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

include(CPack)
