postavo_test(replyrun SOURCES replies/tst_replyrun.cpp)
