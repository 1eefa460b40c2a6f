postavo_test(replycheck SOURCES replies/tst_replycheck.cpp)
