# What the libFuzzer targets built on their own (fuzz/nbx, fuzz/import) share: C++20, Qt, the data
# layer compiled in with SQLite linked as src/CMakeLists.txt links it, and the fuzzer's sanitizers.
#   nbr_fuzz_target(<name> <sources...>)
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
if(NOT CMAKE_BUILD_TYPE)
    set(CMAKE_BUILD_TYPE RelWithDebInfo)
endif()

find_package(Qt6 REQUIRED COMPONENTS Core Sql)
# The data layer calls SQLite itself.
find_package(SQLite3 REQUIRED)

set(NBR_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)
include(${NBR_ROOT}/cmake/version.cmake)
configure_file(${NBR_ROOT}/src/version.h.in ${CMAKE_CURRENT_BINARY_DIR}/generated/version.h @ONLY)
file(GLOB NBR_DATA_SOURCES CONFIGURE_DEPENDS ${NBR_ROOT}/src/data/*.cpp)

function(nbr_fuzz_target name)
    add_executable(${name} ${ARGN} ${NBR_DATA_SOURCES})
    target_include_directories(${name} PRIVATE ${NBR_ROOT}/src ${CMAKE_CURRENT_BINARY_DIR}/generated)
    target_link_libraries(${name} PRIVATE Qt6::Core Qt6::Sql SQLite::SQLite3)
    set(sanitizers -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
    target_compile_options(${name} PRIVATE ${sanitizers} -fno-omit-frame-pointer)
    target_link_options(${name} PRIVATE ${sanitizers})
endfunction()
