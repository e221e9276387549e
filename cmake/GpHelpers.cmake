# Every library and test includes headers by their path from the source root,
# e.g. #include "platform/data/DataSet.h", so names never clash between layers.

# gp_add_library(<name> <sources...>): the static library of one layer.
function(gp_add_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# gp_add_test(<name> SOURCES <files...> LIBS <targets...> [GUI])
# One GoogleTest executable per group of related cases; GUI tests get a QApplication.
function(gp_add_test name)
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_GUI)
    target_link_libraries(${name} PRIVATE gp_test_main_gui)
  else()
    target_link_libraries(${name} PRIVATE gp_test_main_core)
  endif()
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# Folders that arrive from work under way elsewhere (the report parts, projects/) are skipped
# until they hold a build file.
