postavo_test(messagecommands SOURCES messages/tst_messagecommands.cpp support/webtestutil.h WEB TIMEOUT 120)
postavo_test(messagepicker SOURCES messages/tst_messagepicker.cpp support/webtestutil.h WEB TIMEOUT 120)
