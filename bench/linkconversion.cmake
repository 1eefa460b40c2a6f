postavo_bench(linkconversion SOURCES linkconversion.cpp)
