# A CH375 printer on a bus emulated by umockdev; the programs using it re-run under its preload.
# Used by the USB tests and by the USB benchmark, which a release build makes without the tests.
include_guard(GLOBAL)
pkg_check_modules(UMOCKDEV REQUIRED IMPORTED_TARGET umockdev-1.0)
add_library(qvprt_virtual_ch375 STATIC ${CMAKE_CURRENT_LIST_DIR}/virtual_ch375.cpp)
target_include_directories(qvprt_virtual_ch375 PUBLIC ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(qvprt_virtual_ch375 PUBLIC PkgConfig::UMOCKDEV)
qvprt_target_warnings(qvprt_virtual_ch375)
