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

# gp_refuse_links(<target> <forbidden targets...>): configuration fails when <target> reaches
# any of the forbidden targets through its link libraries, directly or through a library it
# links. Checked when the whole tree is configured, so later links count too.
function(gp_refuse_links target)
  # A deferred call reads its variables when it runs: the names are written into it now.
  list(JOIN ARGN " " forbidden)
  cmake_language(EVAL CODE
    "cmake_language(DEFER DIRECTORY \"${CMAKE_SOURCE_DIR}\" CALL _gp_check_refused_links ${target} ${forbidden})")
endfunction()

function(_gp_check_refused_links target)
  set(forbidden ${ARGN})
  get_target_property(pending ${target} LINK_LIBRARIES)
  set(seen)
  while(pending)
    list(POP_FRONT pending item)
    # $<LINK_ONLY:x> and the like: the target inside is linked all the same.
    string(REGEX REPLACE "^\\$<[A-Z_]+:(.*)>$" "\\1" item "${item}")
    if(item IN_LIST seen OR NOT TARGET "${item}")
      continue()
    endif()
    list(APPEND seen ${item})
    get_target_property(aliased ${item} ALIASED_TARGET)
    if(aliased)
      list(APPEND pending ${aliased})
    endif()
    if(item IN_LIST forbidden OR aliased IN_LIST forbidden)
      message(FATAL_ERROR "${target} must not link ${item}")
    endif()
    # A static library's private links come through here too, as $<LINK_ONLY:...>.
    get_target_property(interface ${item} INTERFACE_LINK_LIBRARIES)
    if(interface)
      list(APPEND pending ${interface})
    endif()
  endwhile()
endfunction()
