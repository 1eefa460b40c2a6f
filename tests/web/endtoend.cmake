postavo_test(endtoend SOURCES web/tst_endtoend.cpp support/testforum.h WEB TIMEOUT 180 RESOURCE_LOCK port80-127.0.0.3)
