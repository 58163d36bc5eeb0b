# The files of the runtime package beside the programs (desktop entry, icon, manual pages,
# copyright, changelog), and the Debian packages `cpack -G DEB` builds from the install:
# bvrslip (the tool and the application) and bvrslip-dev (libraries, headers, CMake and
# pkg-config files).
set(BVR_PACKAGE_MAINTAINER "bvrslip maintainers <maintainers@bvrslip.org>"
    CACHE STRING "Maintainer of the Debian packages, as 'Name <address>'")

# Debian wants manual pages and changelogs compressed at the highest level, without a name or
# time stamp in the gzip header (gzip -n), so that rebuilding gives the same bytes.
find_program(BVR_GZIP gzip REQUIRED)
set(bvr_pkg_dir "${PROJECT_BINARY_DIR}/package")
configure_file("${PROJECT_SOURCE_DIR}/packaging/changelog.in" "${bvr_pkg_dir}/changelog" @ONLY)
set(compressed "")
foreach(pair IN ITEMS "man/bvrslip.1:bvrslip.1.gz" "man/ZoviRUR.1:ZoviRUR.1.gz"
                      "man/factures-qr.1:factures-qr.1.gz"
                      "${bvr_pkg_dir}/changelog:changelog.gz")
  string(REPLACE ":" ";" pair "${pair}")
  list(GET pair 0 input)
  list(GET pair 1 output)
  if(NOT IS_ABSOLUTE "${input}")
    set(input "${PROJECT_SOURCE_DIR}/${input}")
  endif()
  add_custom_command(OUTPUT "${bvr_pkg_dir}/${output}"
                     COMMAND "${BVR_GZIP}" -9 -n -c "${input}" > "${bvr_pkg_dir}/${output}"
                     DEPENDS "${input}" VERBATIM)
  list(APPEND compressed "${bvr_pkg_dir}/${output}")
endforeach()
add_custom_target(bvr_package_files ALL DEPENDS ${compressed})

if(NOT BVR_CORE_ONLY)
  install(FILES "${bvr_pkg_dir}/bvrslip.1.gz" "${bvr_pkg_dir}/ZoviRUR.1.gz"
                "${bvr_pkg_dir}/factures-qr.1.gz"
          DESTINATION "${CMAKE_INSTALL_MANDIR}/man1" COMPONENT runtime)
  install(FILES "${PROJECT_SOURCE_DIR}/packaging/factures-qr.desktop"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/applications" COMPONENT runtime)
  install(FILES "${PROJECT_SOURCE_DIR}/packaging/bvrslip.desktop"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/applications" COMPONENT runtime)
  install(FILES "${PROJECT_SOURCE_DIR}/packaging/bvrslip.svg"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps" COMPONENT runtime)
endif()
foreach(component_package IN ITEMS "runtime:bvrslip" "dev:bvrslip-dev")
  string(REPLACE ":" ";" component_package "${component_package}")
  list(GET component_package 0 component)
  list(GET component_package 1 package)
  install(FILES "${PROJECT_SOURCE_DIR}/packaging/copyright" "${bvr_pkg_dir}/changelog.gz"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/${package}" COMPONENT ${component})
endforeach()

set(CPACK_PACKAGE_NAME bvrslip)
set(CPACK_PACKAGE_VENDOR "bvrslip authors")
set(CPACK_PACKAGE_CONTACT "${BVR_PACKAGE_MAINTAINER}")
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL runtime dev)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${BVR_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME bvrslip)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION misc)
# The coding line must be printed in OCR-B or no bank reader reads it; a QR-bill in one of
# the guideline's faces (Liberation Sans where there is no Arial), embedded in its PDFs.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS "fonts-ocr-b, fonts-liberation2")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION
    "orange payment slips with reference number (BVR): tool and designer
Lays out and prints Swiss orange payment slips with reference number onto
pre-printed slip forms. The command-line tool bvrslip computes reference
numbers and coding lines, checks layout files, renders invoices as PDF or
PNG, prints batches from CSV files and builds QR-bills. ZoviRUR is the
designer of the slip layout (French user interface) with an invoice preview.")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME bvrslip-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS
    "libqrencode-dev, libharfbuzz-dev, zlib1g-dev, qt6-base-dev (>= 6.4)")
set(CPACK_COMPONENT_DEV_DESCRIPTION
    "orange payment slips with reference number (BVR): development files
Static libraries, headers, the CMake package (find_package(BvrSlip)) and the
pkg-config file (bvrslip-core) of the slip library: reference numbers,
amount codes and coding lines, slip layouts and their files, the QR-bill,
and the Qt drawing and printing of slips and invoices.")

include(CPack)
