# Graph control: enumerating and painting many points, and bar mode.
add_executable(bench_graph bench_graph.cpp)
target_link_libraries(bench_graph PRIVATE tarvel_xygraph benchmark::benchmark)
