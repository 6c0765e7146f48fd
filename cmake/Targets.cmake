# Compiler flags for the project's own code, and helpers that keep every layer's
# CMakeLists.txt a few lines long.

add_library(trawlix_options INTERFACE)
target_compile_options(trawlix_options INTERFACE
  -Wall -Wextra -Wpedantic -Werror -Wshadow -Wnon-virtual-dtor -Wold-style-cast
  -Wcast-align -Woverloaded-virtual -Wformat=2 -Wimplicit-fallthrough)
target_compile_definitions(trawlix_options INTERFACE QT_NO_KEYWORDS)
if(TRAWLIX_SANITIZE)
  target_compile_options(trawlix_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(trawlix_options INTERFACE -fsanitize=address,undefined)
endif()
if(TRAWLIX_TSAN)
  target_compile_options(trawlix_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(trawlix_options INTERFACE -fsanitize=thread)
endif()
if(TRAWLIX_FUZZ)
  target_compile_options(trawlix_options INTERFACE -fsanitize=fuzzer-no-link)
endif()

# trawlix_layer(NAME DEPS...): one static library from every .cpp in the calling folder.
# Headers are included as "layer/File.h" from src/.
function(trawlix_layer name)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC trawlix_options ${ARGN})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE trawlix_options ${ARGN})
  endif()
endfunction()

# trawlix_test(NAME DEPS...): one GoogleTest program from every .cpp in the calling folder.
function(trawlix_test name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE trawlix_test_support GTest::gtest GTest::gmock GTest::gtest_main ${ARGN})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# trawlix_fuzzer(NAME SOURCE DEPS...): a libFuzzer target.
function(trawlix_fuzzer name source)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE ${ARGN})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()
