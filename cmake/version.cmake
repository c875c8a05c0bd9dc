# The suite's one version number is the project's (the root CMakeLists.txt). The programs' version
# resources include the header made here; the setup program and its uninstall entry get the same number.
set(SUITE_VERSION ${PROJECT_VERSION})
set(SUITE_GENERATED ${CMAKE_BINARY_DIR}/generated)
set(SUITE_VERSION_BINARY "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
file(CONFIGURE OUTPUT ${SUITE_GENERATED}/suite_version.h CONTENT
"// Made by CMake from the project's version.
#define SUITE_VERSION_BINARY ${SUITE_VERSION_BINARY}
#define SUITE_VERSION_TEXT \"${PROJECT_VERSION}.0\"
")
