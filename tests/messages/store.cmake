postavo_test(messagestore SOURCES messages/tst_messagestore.cpp)
