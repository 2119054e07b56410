# Installation and the Debian package: the program and the batch runner in bin, the help file
# and the manual in the application directory, the package's version from the project's.
install(TARGETS keldovar-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A statically linked keldovar-cli is on purpose (cli/CMakeLists.txt): lintian is told so.
if(KELDOVAR_CLI_STATIC)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/keldovar.lintian-overrides
          DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME keldovar)
endif()
# keldovar-cli --pdf runs keldovar-pdf from its own folder.
if(TARGET keldovar-pdf)
  install(TARGETS keldovar-pdf RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET keldovar)
  install(TARGETS keldovar RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# Debian's package documents (copyright, a compressed changelog) and the manual pages, gzipped
# as lintian expects.
set(packaging_out ${CMAKE_BINARY_DIR}/packaging)
set(compressed)
foreach(source changelog keldovar.1 keldovar-cli.1 keldovar-pdf.1)
  set(gz ${packaging_out}/${source}.gz)
  add_custom_command(
    OUTPUT ${gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${packaging_out}
    COMMAND gzip -n -9 -c ${PROJECT_SOURCE_DIR}/packaging/${source} > ${gz}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/${source}
    COMMENT "Compressing ${source}")
  list(APPEND compressed ${gz})
endforeach()
add_custom_target(package_documents ALL DEPENDS ${compressed})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${packaging_out}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/keldovar)
install(FILES ${packaging_out}/keldovar.1.gz ${packaging_out}/keldovar-cli.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(TARGET keldovar-pdf)
  install(FILES ${packaging_out}/keldovar-pdf.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME keldovar)
set(CPACK_PACKAGE_VENDOR "Brakkel Forestry")
set(CPACK_PACKAGE_CONTACT "Brakkel Forestry <keldovar@brakkelforestry.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "growth and yield simulator for loblolly pine plantations")
set(CPACK_PACKAGE_DESCRIPTION
    "KELDOVAR simulates loblolly pine plantations on cutover, site-prepared\n"
    "land. A forester describes a stand, grows, thins, fertilizes and harvests\n"
    "it, and reads per-acre tables after every step: stand summary, stand and\n"
    "stock table with pulpwood and sawtimber tons, thinning report, stand\n"
    "history, net present value and a diameter bar graph. keldovar-cli runs\n"
    "the same simulation from regime scripts.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.brakkelforestry.com/keldovar")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the programs load at run time, which dpkg-shlibdeps cannot see: Qt's SVG icon engine and
# image format (every toolbar icon and the window icon are SVG resources). The platform plugins
# (xcb for the desktop, offscreen for keldovar-pdf) and the other image formats come with
# libqt6gui6, the printer plugin with libqt6printsupport6; both are linked, so dpkg-shlibdeps
# adds them. The report's "Courier New" is drawn in its metric twin, Liberation Mono, when
# installed; a Wayland session needs Qt's Wayland plugin, and falls back to X otherwise. The
# Python module, when built, needs the Python it was built for.
if(KELDOVAR_PYTHON_DEPENDS)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, ${KELDOVAR_PYTHON_DEPENDS}")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, qt6-wayland")
# The keldovar Python module reads inventories into pandas and runs them on Dask clusters.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS
    "xchm | kchmviewer, evince | okular | qpdfview, python3-pandas, python3-distributed")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
