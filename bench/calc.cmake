# Age calculation benchmarks: fast and direct on cold and hot histories, precise
# on the histories its tests hold it to.
add_executable(bench_age bench_age.cpp)
target_link_libraries(bench_age PRIVATE tarvel_calc benchmark::benchmark)
# The precise method's cases are those of its tests.
target_include_directories(bench_age PRIVATE ${CMAKE_SOURCE_DIR}/tests/calc)
