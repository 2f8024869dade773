# Fails when an #include crosses the layers of docs/ARCHITECTURE.md:
#
#   app  →  views (canvas inspector pickers)  →  controls  →  model  →  content, output  →  engine
#   share (beside, QtCore only)
#   picturehead (below the engine and share, QtCore only)
#
# A folder includes only its own layer and the layers below it; the shared
# controls know no model and no view; nothing below the controls includes a
# Qt Quick or QML header; engine/pixel/detail/ is included from engine/pixel/
# alone. Run as: cmake -DROOT=<source folder> -P CheckIncludes.cmake

cmake_minimum_required(VERSION 3.25)

if(NOT ROOT)
  message(FATAL_ERROR "CheckIncludes.cmake needs -DROOT=<source folder>")
endif()

set(views canvas inspector pickers)
set(above_model controls ${views} app share)
# What each library folder must not include, by the first folder of the path.
set(forbidden_engine content output model ${above_model})
set(forbidden_content output model ${above_model})
set(forbidden_output content model ${above_model})
set(forbidden_model ${above_model})
set(forbidden_controls content output model ${views} app share)
set(forbidden_canvas app share)
set(forbidden_inspector app share)
set(forbidden_pickers app share)
set(forbidden_share engine content output model controls ${views} app)
set(forbidden_picturehead engine content output model ${above_model})
set(checked picturehead engine content output model controls ${views} share)
set(below_views picturehead engine content output model)

set(broken 0)
foreach(layer IN LISTS checked)
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
      elseif(layer IN_LIST below_views AND target MATCHES "^(QtQuick|QtQml|QtQuickControls2)/|^QQuick|^QQml")
        set(reason "no Qt Quick or QML below the controls")
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
