# The search: paths per second of the example sample by each method on one and
# two cores, beside a Crank-Nicolson forward model of the same grains and paths.
add_executable(bench_search bench_search.cpp)
target_link_libraries(bench_search PRIVATE tarvel_search benchmark::benchmark)
target_compile_definitions(bench_search PRIVATE
  TARVEL_EXAMPLES_DIR="${CMAKE_SOURCE_DIR}/examples")
