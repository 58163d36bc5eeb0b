# What `cmake --install` puts where, and the CMake and pkg-config packages a user finds the
# libraries with. A folder registers its target and its public headers with one call:
#
#   bvr_install(TARGET bvr_print EXPORT_NAME print HEADERS UReportBVR.h VYKBVRQr.h)
#   bvr_install(HEADERS Font.h Zones.h)      # headers of a target registered elsewhere
#   bvr_install(PROGRAM bvrslip)             # an executable of the runtime package
#
# Headers go to include/bvrslip/<folder>/ (the folder under src/), the libraries to the "dev"
# component, programs to "runtime". bvr_install_finish(), called once at the end of the top
# CMakeLists, writes the exports: Qt-free targets into BvrSlipCoreTargets, the others into
# BvrSlipQtTargets, so that a user of the core needs no Qt.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)
include(BvrCoreIsQtFree)

set(BVR_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/BvrSlip")
set(BVR_INSTALL_HEADERDIR "${CMAKE_INSTALL_INCLUDEDIR}/bvrslip")

function(bvr_install)
  cmake_parse_arguments(I "" "TARGET;EXPORT_NAME;PROGRAM" "HEADERS" ${ARGN})
  if(I_HEADERS)
    file(RELATIVE_PATH folder "${PROJECT_SOURCE_DIR}/src" "${CMAKE_CURRENT_SOURCE_DIR}")
    if(folder MATCHES "^\\.\\.")
      message(FATAL_ERROR "bvr_install(HEADERS) outside src/: ${CMAKE_CURRENT_SOURCE_DIR}")
    endif()
    foreach(header IN LISTS I_HEADERS)
      if(NOT EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${header}")
        message(FATAL_ERROR "bvr_install: no header ${CMAKE_CURRENT_SOURCE_DIR}/${header}")
      endif()
      install(FILES "${CMAKE_CURRENT_SOURCE_DIR}/${header}"
              DESTINATION "${BVR_INSTALL_HEADERDIR}/${folder}" COMPONENT dev)
      set_property(GLOBAL APPEND PROPERTY BVR_INSTALLED_HEADERS "${folder}/${header}")
    endforeach()
  endif()
  if(I_TARGET)
    if(NOT I_EXPORT_NAME)
      message(FATAL_ERROR "bvr_install(TARGET ${I_TARGET}) needs EXPORT_NAME")
    endif()
    set_target_properties(${I_TARGET} PROPERTIES EXPORT_NAME ${I_EXPORT_NAME})
    set_property(GLOBAL APPEND PROPERTY BVR_INSTALLED_TARGETS ${I_TARGET})
  endif()
  if(I_PROGRAM)
    install(TARGETS ${I_PROGRAM} RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT runtime)
  endif()
endfunction()

# The build's include roots are absolute paths of this tree: only the build may see them.
# Installed, a target's headers are found both as <bvrslip/model/Font.h> and, for the
# library's own "model/Font.h" includes, under include/bvrslip.
function(_bvr_install_usage target)
  get_target_property(dirs ${target} INTERFACE_INCLUDE_DIRECTORIES)
  set(rewritten "")
  if(dirs)
    foreach(dir IN LISTS dirs)
      string(FIND "${dir}/" "${PROJECT_SOURCE_DIR}/" in_source)
      string(FIND "${dir}/" "${PROJECT_BINARY_DIR}/" in_build)
      if(in_source EQUAL 0 OR in_build EQUAL 0)
        list(APPEND rewritten "$<BUILD_INTERFACE:${dir}>")
      else()
        list(APPEND rewritten "${dir}")
      endif()
    endforeach()
  endif()
  list(APPEND rewritten "$<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>"
       "$<INSTALL_INTERFACE:${BVR_INSTALL_HEADERDIR}>")
  set_property(TARGET ${target} PROPERTY INTERFACE_INCLUDE_DIRECTORIES "${rewritten}")
  # The headers need C++20 (std::span, designated initialisers) in the user's code too.
  target_compile_features(${target} INTERFACE cxx_std_20)
endfunction()

# A public header that includes a private one would compile here and nowhere else.
function(_bvr_check_installed_headers)
  get_property(headers GLOBAL PROPERTY BVR_INSTALLED_HEADERS)
  foreach(header IN LISTS headers)
    file(STRINGS "${PROJECT_SOURCE_DIR}/src/${header}" includes REGEX "^#include \"[a-z]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" included "${line}")
      if(NOT included IN_LIST headers)
        message(FATAL_ERROR "src/${header} is installed but includes ${included}, which is not: "
                            "add it to the bvr_install(HEADERS) of its folder")
      endif()
    endforeach()
  endforeach()
endfunction()

function(bvr_install_finish)
  _bvr_check_installed_headers()
  get_property(targets GLOBAL PROPERTY BVR_INSTALLED_TARGETS)
  set(core_names "")
  set(qt_names "")
  set(qt_components "")
  foreach(target IN LISTS targets)
    _bvr_install_usage(${target})
    set(links "")
    _bvr_collect_links(${target} links)
    set(uses_qt FALSE)
    foreach(lib IN LISTS links)
      # Qt's own targets link internal ones (Qt6::Platform): only found modules count.
      if(lib MATCHES "^Qt6::([A-Za-z]+)$")
        set(uses_qt TRUE)
        if(Qt6${CMAKE_MATCH_1}_FOUND)
          list(APPEND qt_components ${CMAKE_MATCH_1})
        endif()
      endif()
    endforeach()
    get_target_property(name ${target} EXPORT_NAME)
    if(uses_qt)
      set(set BvrSlipQtTargets)
      list(APPEND qt_names ${name})
    else()
      set(set BvrSlipCoreTargets)
      list(APPEND core_names ${name})
    endif()
    install(TARGETS ${target} EXPORT ${set}
            ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT dev
            LIBRARY DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT dev)
  endforeach()
  list(REMOVE_DUPLICATES qt_components)
  list(SORT qt_components)

  install(EXPORT BvrSlipCoreTargets NAMESPACE BvrSlip:: DESTINATION "${BVR_INSTALL_CMAKEDIR}"
          COMPONENT dev)
  if(qt_names)
    install(EXPORT BvrSlipQtTargets NAMESPACE BvrSlip:: DESTINATION "${BVR_INSTALL_CMAKEDIR}"
            COMPONENT dev)
  endif()

  set(BVR_CORE_TARGET_NAMES ${core_names})
  set(BVR_QT_TARGET_NAMES ${qt_names})
  set(BVR_QT_COMPONENTS ${qt_components})
  set(BVR_QT_MIN_VERSION ${Qt6_VERSION_MAJOR}.${Qt6_VERSION_MINOR})
  configure_package_config_file("${PROJECT_SOURCE_DIR}/cmake/BvrSlipConfig.cmake.in"
                                "${PROJECT_BINARY_DIR}/package/BvrSlipConfig.cmake"
                                INSTALL_DESTINATION "${BVR_INSTALL_CMAKEDIR}")
  write_basic_package_version_file("${PROJECT_BINARY_DIR}/package/BvrSlipConfigVersion.cmake"
                                   VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
  install(FILES "${PROJECT_BINARY_DIR}/package/BvrSlipConfig.cmake"
                "${PROJECT_BINARY_DIR}/package/BvrSlipConfigVersion.cmake"
          DESTINATION "${BVR_INSTALL_CMAKEDIR}" COMPONENT dev)

  # pkg-config: the prefix is found from the .pc file's own place, so an install moved to
  # another prefix (or a temporary one) still points at its own headers.
  file(RELATIVE_PATH BVR_PC_TO_PREFIX "/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/")
  string(REGEX REPLACE "/$" "" BVR_PC_TO_PREFIX "${BVR_PC_TO_PREFIX}")
  configure_file("${PROJECT_SOURCE_DIR}/cmake/bvrslip-core.pc.in"
                 "${PROJECT_BINARY_DIR}/package/bvrslip-core.pc" @ONLY)
  install(FILES "${PROJECT_BINARY_DIR}/package/bvrslip-core.pc"
          DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig" COMPONENT dev)
endfunction()
