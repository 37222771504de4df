# lyr_sources(out folder...): every .cpp directly in the folders, re-globbed when one is added.
function(lyr_sources out)
  set(srcs)
  foreach(d ${ARGN})
    file(GLOB s CONFIGURE_DEPENDS ${d}/*.cpp)
    list(APPEND srcs ${s})
  endforeach()
  set(${out} ${srcs} PARENT_SCOPE)
endfunction()

# lyr_library(name DIRS folder... DEPS ...): a static library of every .cpp in the folders.
function(lyr_library name)
  cmake_parse_arguments(A "" "" "DIRS;DEPS" ${ARGN})
  lyr_sources(srcs ${A_DIRS})
  if(NOT srcs)
    # A subsystem with no sources yet still links.
    set(empty ${CMAKE_BINARY_DIR}/empty_${name}.cpp)
    file(WRITE ${empty} "// empty\n")
    set(srcs ${empty})
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
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
