# Third-party libraries: Debian packages, plus ONNX Runtime from scripts/setup.
find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Concurrent Network Svg Test)
# OpenCV: only core and imgproc, from their own -dev packages (the libopencv-dev
# meta package, which carries OpenCVConfig.cmake, would pull in every module).
find_path(OPENCV_INCLUDE_DIR opencv2/core.hpp PATH_SUFFIXES opencv4 REQUIRED)
foreach(module core imgproc)
  find_library(OPENCV_${module}_LIBRARY opencv_${module} REQUIRED)
  add_library(opencv_${module} SHARED IMPORTED GLOBAL)
  set_target_properties(opencv_${module} PROPERTIES
    IMPORTED_LOCATION ${OPENCV_${module}_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${OPENCV_INCLUDE_DIR})
endforeach()
set_property(TARGET opencv_imgproc PROPERTY INTERFACE_LINK_LIBRARIES opencv_core)
find_package(PkgConfig REQUIRED)
pkg_check_modules(HEIF REQUIRED IMPORTED_TARGET libheif)
# libheif's HEVC decoder: its logging stays off, and a picture it leaves partly undecoded is refused.
pkg_check_modules(DE265 REQUIRED IMPORTED_TARGET libde265)
# libheif's AV1 decoder, whose messages go to the log.
pkg_check_modules(DAV1D REQUIRED IMPORTED_TARGET dav1d)
pkg_check_modules(WEBP REQUIRED IMPORTED_TARGET libwebp libwebpdemux)
# Animated WebP files for the tests.
pkg_check_modules(WEBPMUX REQUIRED IMPORTED_TARGET libwebpmux)
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)
pkg_check_modules(ZLIB REQUIRED IMPORTED_TARGET zlib)
pkg_check_modules(JPEG REQUIRED IMPORTED_TARGET libjpeg)
# libtiff's message handlers: Qt's TIFF reader leaves its messages on standard error.
pkg_check_modules(TIFF REQUIRED IMPORTED_TARGET libtiff-4)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
find_package(GTest REQUIRED)
find_package(benchmark REQUIRED)

# ONNX Runtime: no Debian package; scripts/setup unpacks the library and the
# C/C++ headers into .deps/onnxruntime.
set(ORT_ROOT ${ZEPHRIN_DEPS_DIR}/onnxruntime)
if(NOT EXISTS ${ORT_ROOT}/lib/libonnxruntime.so.1 OR NOT EXISTS ${ORT_ROOT}/include/onnxruntime_cxx_api.h)
  message(FATAL_ERROR "ONNX Runtime is missing from ${ORT_ROOT}: run scripts/setup first.")
endif()
add_library(onnxruntime::onnxruntime SHARED IMPORTED GLOBAL)
set_target_properties(onnxruntime::onnxruntime PROPERTIES
  IMPORTED_LOCATION ${ORT_ROOT}/lib/libonnxruntime.so.1
  IMPORTED_SONAME libonnxruntime.so.1
  INTERFACE_INCLUDE_DIRECTORIES ${ORT_ROOT}/include)

# The model resource sits beside the executables, where the runner looks first.
set(ZEPHRIN_MODEL_SOURCE ${ZEPHRIN_DEPS_DIR}/model/ISNetGeneral.onnx)
if(EXISTS ${ZEPHRIN_MODEL_SOURCE})
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  file(CREATE_LINK ${ZEPHRIN_MODEL_SOURCE} ${CMAKE_BINARY_DIR}/bin/ISNetGeneral.onnx SYMBOLIC)
else()
  message(WARNING "ISNetGeneral.onnx not found in ${ZEPHRIN_DEPS_DIR}/model: run scripts/setup.")
endif()

# The content catalogue (fonts and backdrop photos) that scripts/setup builds
# sits beside the executables too, where the program reads it when no content
# server is configured. The link is made even before the folder exists, so a
# catalogue built later is found without configuring again.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
file(CREATE_LINK ${CMAKE_SOURCE_DIR}/.cache/content-catalogue ${CMAKE_BINARY_DIR}/bin/content-catalogue SYMBOLIC)
