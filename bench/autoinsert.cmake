postavo_bench(autoinsert SOURCES autoinsert.cpp GUI)
# For the synchronous script helper shared with the web tests.
target_link_libraries(bench_autoinsert PRIVATE Qt6::Test)
