postavo_test(keystrokes SOURCES web/tst_keystrokes.cpp)
postavo_test(paste SOURCES web/tst_paste.cpp support/webtestutil.h WEB TIMEOUT 180)
