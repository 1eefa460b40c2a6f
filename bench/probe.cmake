postavo_bench(probe SOURCES probe.cpp)
