postavo_test(keystrokes SOURCES web/tst_keystrokes.cpp)
postavo_test(paste SOURCES web/tst_paste.cpp support/webtestutil.h WEB TIMEOUT 180)
postavo_test(browserpane SOURCES web/tst_browserpane.cpp support/webtestutil.h WEB TIMEOUT 240)
