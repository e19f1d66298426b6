# What a cross build (Windows, cmake/mingw-w64.cmake) takes from the build
# machine: the header-only libraries, through a folder of their own so that no
# other header of the build machine is seen, and GoogleTest built from its
# sources for the target.
set(ORLA_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${ORLA_HOST_HEADERS})
foreach(dir nlohmann CLI)
    if(NOT EXISTS /usr/include/${dir})
        message(FATAL_ERROR "/usr/include/${dir} is missing: install nlohmann-json3-dev and libcli11-dev")
    endif()
    file(CREATE_LINK /usr/include/${dir} ${ORLA_HOST_HEADERS}/${dir} SYMBOLIC)
endforeach()
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${ORLA_HOST_HEADERS})

if(ORLA_BUILD_TESTS)
    set(ORLA_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources")
    if(NOT EXISTS ${ORLA_GTEST_SOURCE}/CMakeLists.txt)
        message(FATAL_ERROR "${ORLA_GTEST_SOURCE} has no GoogleTest sources: install googletest")
    endif()
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${ORLA_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()
