# Installation and the Debian package: the program and the batch runner in bin, the help file
# and the manual in the application directory, the package's version from the project's.
install(TARGETS keldovar-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET keldovar)
  install(TARGETS keldovar RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# Debian's package documents: copyright and a compressed changelog, as lintian expects.
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/keldovar)
set(changelog ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(
  OUTPUT ${changelog}
  COMMAND gzip -n -9 -c ${PROJECT_SOURCE_DIR}/packaging/changelog > ${changelog}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
  COMMENT "Compressing the package changelog")
add_custom_target(package_changelog ALL DEPENDS ${changelog})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${changelog} DESTINATION ${doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME keldovar)
set(CPACK_PACKAGE_VENDOR "Brakkel Forestry")
set(CPACK_PACKAGE_CONTACT "Brakkel Forestry <keldovar@brakkelforestry.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "growth and yield simulator for loblolly pine plantations")
set(CPACK_PACKAGE_DESCRIPTION
    "KELDOVAR simulates loblolly pine plantations on cutover, site-prepared land.\n"
    "A forester describes a stand, grows, thins, fertilizes and harvests it, and reads\n"
    "per-acre tables after every step: stand summary, stand and stock table with\n"
    "pulpwood and sawtimber tons, thinning report, stand history, net present value\n"
    "and a diameter bar graph. keldovar-cli runs the same simulation from scripts.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.brakkelforestry.com/keldovar")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xchm | kchmviewer, evince | okular | qpdfview")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
