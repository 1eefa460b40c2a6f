postavo_bench(formscan SOURCES formscan.cpp)
