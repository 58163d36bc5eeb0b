# bvr_test(NAME name SOURCES ... LIBS ... [GUI])
# Builds one GoogleTest executable and registers it with CTest. GUI tests get a main that
# creates a QApplication and run on the offscreen platform, so they need no display.
function(bvr_test)
  cmake_parse_arguments(T "GUI" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  bvr_warnings(${T_NAME})
  if(T_GUI)
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} bvr_gui_test_main GTest::gtest GTest::gmock)
  else()
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  endif()
  target_compile_definitions(${T_NAME} PRIVATE BVR_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set(env "BVR_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
  if(T_GUI)
    list(APPEND env "QT_QPA_PLATFORM=offscreen" "XDG_RUNTIME_DIR=${CMAKE_BINARY_DIR}/xdg-runtime")
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/xdg-runtime)
    file(CHMOD ${CMAKE_BINARY_DIR}/xdg-runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  endif()
  # A guard against hangs, not a measure of speed: the tool's suites run 30-60 s alone and
  # several times that on a busy machine.
  set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()
