postavo_bench(replycheck SOURCES replycheck.cpp GUI)
