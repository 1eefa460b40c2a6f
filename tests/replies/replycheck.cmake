postavo_test(replycheck SOURCES replies/tst_replycheck.cpp)
postavo_test(form1_replycheck SOURCES replies/tst_form1_replycheck.cpp WEB)
