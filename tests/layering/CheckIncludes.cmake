# Fails when an #include crosses the layers of docs/ARCHITECTURE.md:
#
#   views (app canvas inspector pickers share)  →  model  →  content, output  →  engine
#
# A folder includes only its own layer and the layers below it; nothing below
# the views includes a Qt Quick or QML header; engine/pixel/detail/ is included
# from engine/pixel/ alone. Run as: cmake -DROOT=<source folder> -P CheckIncludes.cmake

cmake_minimum_required(VERSION 3.25)

if(NOT ROOT)
  message(FATAL_ERROR "CheckIncludes.cmake needs -DROOT=<source folder>")
endif()

set(views app canvas inspector pickers share)
# What each library folder must not include, by the first folder of the path.
set(forbidden_engine content output model ${views})
set(forbidden_content output model ${views})
set(forbidden_output content model ${views})
set(forbidden_model ${views})
set(below_views engine content output model)

set(broken 0)
foreach(layer IN LISTS below_views)
  file(GLOB_RECURSE files ${ROOT}/${layer}/*.h ${ROOT}/${layer}/*.cpp)
  foreach(file IN LISTS files)
    file(RELATIVE_PATH name ${ROOT} ${file})
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*$" "\\1" target "${line}")
      string(REGEX MATCH "^[^/]*" top "${target}")
      set(reason "")
      if(top IN_LIST forbidden_${layer})
        set(reason "${layer}/ never includes ${top}/")
      elseif(target MATCHES "^(QtQuick|QtQml|QtQuickControls2)/|^QQuick|^QQml")
        set(reason "no Qt Quick or QML below the views")
      elseif(target MATCHES "^engine/pixel/detail/" AND NOT name MATCHES "^engine/pixel/")
        set(reason "engine/pixel/detail/ is the pixel layer's own")
      endif()
      if(reason)
        message("${name}: includes ${target}: ${reason}")
        math(EXPR broken "${broken} + 1")
      endif()
    endforeach()
  endforeach()
endforeach()

if(broken GREATER 0)
  message(FATAL_ERROR "${broken} includes break the layering")
endif()
message("The includes keep to the layering")
