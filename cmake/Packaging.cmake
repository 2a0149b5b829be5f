# One Debian package with every program and manual page: `cpack -G DEB` in the build tree.
set(CPACK_PACKAGE_NAME geoproof-tools)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "geoproof-tools developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "text tools around an automated geometry theorem prover")
set(CPACK_PACKAGE_DESCRIPTION
  "Fifteen small command-line tools: script-translator turns a construction\n\
script into the prover's construction listing; twelve filters pick running\n\
times, proof-step counts, outcomes and errors out of the prover's reports;\n\
report-table tabulates all twelve for many reports at once, as CSV or JSON;\n\
token-classifier lists and classifies the tokens of a small procedural\n\
language. Manual pages for every program are included.")
set(GEOPROOF_PACKAGE_MAINTAINER "geoproof-tools developers <geoproof-tools@localhost>"
  CACHE STRING "Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT "${GEOPROOF_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${GEOPROOF_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

# The shared libraries the programs need are found by dpkg-shlibdeps (package dpkg-dev);
# without it the package names the C and C++ run-time libraries itself.
find_program(GEOPROOF_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(GEOPROOF_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1")
endif()

include(CPack)
