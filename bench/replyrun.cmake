postavo_bench(replyrun SOURCES replyrun.cpp)
