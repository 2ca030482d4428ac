# qv_library(NAME <target> [OBJECT] DEPS <targets...> TEST_DEPS <targets...>)
# Builds the library from every .cc under src/ (tests, benchmarks, fuzzers and
# test support excluded) and, when tests are on, one GoogleTest executable from
# the *_test.cc files beside the sources. The .cc files under src/test_support/
# become the library <target>_test_support, which links GoogleTest and which
# the tests of this and other libraries link. OBJECT builds an object library,
# whose object files are linked whole into every target that links it
# directly: for start-up registrations, which an archive would lose.
function(qv_library)
  cmake_parse_arguments(ARG "OBJECT" "NAME" "DEPS;TEST_DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/*.cc)
  set(tests ${sources})
  set(fuzzers ${sources})
  set(support ${sources})
  list(FILTER sources EXCLUDE REGEX "_(test|benchmark|fuzzer)\\.cc$|/test_support/")
  list(FILTER tests INCLUDE REGEX "_test\\.cc$")
  list(FILTER fuzzers INCLUDE REGEX "_fuzzer\\.cc$")
  list(FILTER support INCLUDE REGEX "/test_support/")
  list(FILTER support EXCLUDE REGEX "_test\\.cc$")

  if(sources)
    if(ARG_OBJECT)
      add_library(${ARG_NAME} OBJECT ${sources})
    else()
      add_library(${ARG_NAME} STATIC ${sources})
    endif()
    target_include_directories(${ARG_NAME} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/src)
    target_link_libraries(${ARG_NAME} PUBLIC ${ARG_DEPS})
  else()
    # A header-only package.
    add_library(${ARG_NAME} INTERFACE)
    target_include_directories(${ARG_NAME} INTERFACE ${CMAKE_CURRENT_SOURCE_DIR}/src)
    target_link_libraries(${ARG_NAME} INTERFACE ${ARG_DEPS})
  endif()

  if(QV_FUZZ)
    foreach(fuzzer ${fuzzers})
      get_filename_component(name ${fuzzer} NAME_WE)
      add_executable(${name} ${fuzzer})
      target_link_libraries(${name} PRIVATE ${ARG_NAME})
      target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    endforeach()
  endif()

  if(QV_TESTS AND support)
    add_library(${ARG_NAME}_test_support STATIC ${support})
    target_link_libraries(${ARG_NAME}_test_support PUBLIC ${ARG_NAME} ${ARG_TEST_DEPS} GTest::gtest)
    list(APPEND ARG_TEST_DEPS ${ARG_NAME}_test_support)
  endif()

  if(QV_TESTS AND tests)
    add_executable(${ARG_NAME}_tests ${tests})
    target_link_libraries(${ARG_NAME}_tests PRIVATE ${ARG_NAME} ${ARG_TEST_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
    gtest_discover_tests(${ARG_NAME}_tests
      WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
      DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
