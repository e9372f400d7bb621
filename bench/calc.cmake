# Age calculation benchmarks: both methods on cold and hot histories.
add_executable(bench_age bench_age.cpp)
target_link_libraries(bench_age PRIVATE tarvel_calc benchmark::benchmark)
