# zephrin_view_module(TARGET URI [SINGLETONS file.qml...] [LIBRARIES lib...])
#
# One view folder as one static library with one QML module: every .qml file
# under the calling folder (flattened into the module's root, so names are
# unique across subfolders) and every .cpp/.h beside them. New files join the
# module without editing a CMakeLists.txt.
function(zephrin_view_module target uri)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "SINGLETONS;LIBRARIES")
  set(folder ${CMAKE_CURRENT_SOURCE_DIR})
  file(GLOB_RECURSE qml RELATIVE ${folder} CONFIGURE_DEPENDS ${folder}/*.qml)
  file(GLOB_RECURSE cpp RELATIVE ${folder} CONFIGURE_DEPENDS ${folder}/*.cpp ${folder}/*.h)
  foreach(file ${qml})
    get_filename_component(name ${file} NAME)
    set_source_files_properties(${file} PROPERTIES QT_RESOURCE_ALIAS ${name})
  endforeach()
  foreach(file ${arg_SINGLETONS})
    set_source_files_properties(${file} PROPERTIES QT_QML_SINGLETON_TYPE TRUE)
  endforeach()
  string(REPLACE "." "/" uri_path ${uri})
  qt_add_library(${target} STATIC)
  qt_add_qml_module(${target}
    URI ${uri}
    VERSION 1.0
    OUTPUT_DIRECTORY ${ZEPHRIN_QML_DIR}/${uri_path}
    QML_FILES ${qml}
    SOURCES ${cpp}
    NO_LINT
  )
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC zephrin_controls zephrin_model Qt6::Quick Qt6::Qml ${arg_LIBRARIES})
  zephrin_warnings(${target})
endfunction()
