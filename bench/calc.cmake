# Age calculation benchmarks: fast and direct on cold and hot histories, precise
# on the histories its tests hold it to.
add_executable(bench_age bench_age.cpp)
target_link_libraries(bench_age PRIVATE tarvel_calc benchmark::benchmark)
# The precise method's cases are those of its tests.
target_include_directories(bench_age PRIVATE ${CMAKE_SOURCE_DIR}/tests/calc)

# Recalculate as the main window runs it, by each method.
add_executable(bench_recalculate bench_recalculate.cpp)
target_link_libraries(bench_recalculate PRIVATE tarvel_calc benchmark::benchmark)
target_compile_definitions(bench_recalculate PRIVATE
  TARVEL_EXAMPLES_DIR="${CMAKE_SOURCE_DIR}/examples")

# A sample of grains under one history, on every core.
add_executable(bench_grains bench_grains.cpp)
target_link_libraries(bench_grains PRIVATE tarvel_cli benchmark::benchmark)
