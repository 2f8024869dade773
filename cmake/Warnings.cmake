# AddressSanitizer and UndefinedBehaviorSanitizer over every target of the
# project (scripts/test --sanitize configures a build folder of its own with
# it). Any finding ends the process, so a test with one fails.
option(ZEPHRIN_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(ZEPHRIN_SANITIZE)
  # Line tables are all the reports need; full debug information doubles the build on disk.
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g1)
  add_link_options(-fsanitize=address,undefined)
endif()

# One warning set for every target of the project.
function(zephrin_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
endfunction()

# A subsystem library: every .cpp under its folder, globbed so that new files
# need no edit here. Headers are included by their path from the repository root
# (#include "engine/pixel/Blur.h"). Files under a programs/ subfolder hold the
# main() of executables and stay out of the library. Further arguments are the
# libraries it uses (linked PUBLIC).
function(zephrin_library target folder)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/${folder}/*.cpp ${CMAKE_SOURCE_DIR}/${folder}/*.h)
  list(FILTER sources EXCLUDE REGEX "/programs/")
  if(NOT sources)
    # A subsystem whose first files have not landed yet.
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${ARGN})
    return()
  endif()
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${ARGN})
  zephrin_warnings(${target})
endfunction()
