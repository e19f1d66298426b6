# Compiler settings shared by every target of the project.
add_library(orla_common INTERFACE)
target_compile_features(orla_common INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
target_compile_options(orla_common INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wno-unused-parameter)
if(ORLA_WERROR)
    target_compile_options(orla_common INTERFACE -Werror)
endif()
if(ORLA_SANITIZE)
    target_compile_options(orla_common INTERFACE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(orla_common INTERFACE -fsanitize=address,undefined)
endif()
target_compile_definitions(orla_common INTERFACE
    ORLA_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    ORLA_VERSION="${PROJECT_VERSION}")
if(WIN32)
    target_compile_definitions(orla_common INTERFACE NOMINMAX)
endif()

# Adds a GoogleTest executable of the Qt-free layers and registers its tests with CTest.
function(orla_gtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} orla_testsupport GTest::gtest_main GTest::gmock orla_common)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
        PROPERTIES ENVIRONMENT "ORLA_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data")
endfunction()

# Adds a QtTest program of the GUI layers and registers it with CTest; it runs on the
# offscreen platform, and finds tests/data through ORLA_TEST_DATA_DIR.
function(orla_qtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES AUTOMOC ON AUTOUIC ON)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test orla_common)
    target_compile_definitions(${name} PRIVATE ORLA_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
