# lyr_sources(out folder...): every .cpp directly in the folders, re-globbed when one is added.
function(lyr_sources out)
  set(srcs)
  foreach(d ${ARGN})
    file(GLOB s CONFIGURE_DEPENDS ${d}/*.cpp)
    list(APPEND srcs ${s})
  endforeach()
  set(${out} ${srcs} PARENT_SCOPE)
endfunction()

# lyr_include_root(out name path...): a folder of the build tree that shows only the given paths
# of the source tree (folders or single headers, spelled from the source root) as symbolic links.
# A target whose include path is this folder instead of the source root can include exactly
# those, spelled as everywhere else ("runtime/abi/records.h"); any other project header is a
# compile error.
function(lyr_include_root out name)
  set(root ${CMAKE_BINARY_DIR}/include_roots/${name})
  file(MAKE_DIRECTORY ${root})
  # A link left from an earlier configuration would widen the view: drop every one not asked for.
  # (Linked folders are listed, not entered, so nothing in the source tree is touched.)
  file(GLOB_RECURSE present LIST_DIRECTORIES true RELATIVE ${root} ${root}/*)
  foreach(entry ${present})
    if(IS_SYMLINK ${root}/${entry} AND NOT entry IN_LIST ARGN)
      file(REMOVE ${root}/${entry})
    endif()
  endforeach()
  foreach(path ${ARGN})
    set(source ${CMAKE_SOURCE_DIR}/${path})
    if(NOT EXISTS ${source})
      message(FATAL_ERROR "lyr_include_root(${name}): ${path} is not in the source tree")
    endif()
    set(link ${root}/${path})
    if(IS_SYMLINK ${link})
      file(READ_SYMLINK ${link} linked)
      if(linked STREQUAL source)
        continue()
      endif()
      file(REMOVE ${link})
    endif()
    get_filename_component(parent ${link} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${source} ${link} SYMBOLIC)
  endforeach()
  set(${out} ${root} PARENT_SCOPE)
endfunction()

# lyr_library(name DIRS folder... DEPS ... [SEES path...]): a static library of every .cpp in the
# folders. Its sources include project headers from the whole source root or, with SEES, only
# from those paths and from what its DEPS publish (runtime_abi publishes the runtime's interface).
# Include paths are never handed on to users: each target states what it sees. A library with
# SEES is noted in the global property LYR_BOUNDED_TARGETS, whose boundaries the tests check.
function(lyr_library name)
  cmake_parse_arguments(A "" "" "DIRS;DEPS;SEES" ${ARGN})
  lyr_sources(srcs ${A_DIRS})
  if(NOT srcs)
    # A subsystem with no sources yet still links.
    set(empty ${CMAKE_BINARY_DIR}/empty_${name}.cpp)
    file(WRITE ${empty} "// empty\n")
    set(srcs ${empty})
  endif()
  add_library(${name} STATIC ${srcs})
  if(A_SEES)
    lyr_include_root(root ${name} ${A_SEES})
    target_include_directories(${name} PRIVATE ${root})
    set_property(GLOBAL APPEND PROPERTY LYR_BOUNDED_TARGETS ${name})
  else()
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  endif()
  target_link_libraries(${name} PUBLIC ${A_DEPS})
endfunction()

# lyr_tests(name LABEL label DIRS folder... DEPS ...): one GoogleTest executable of every .cpp in the
# folders, labelled for CTest and run on the headless display.
function(lyr_tests name)
  cmake_parse_arguments(A "" "LABEL" "DIRS;DEPS" ${ARGN})
  lyr_sources(srcs ${A_DIRS})
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${A_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set_tests_properties(${name} PROPERTIES LABELS ${A_LABEL} TIMEOUT 900
    ENVIRONMENT "LYRICS_DISPLAY=headless")
endfunction()
