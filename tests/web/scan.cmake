postavo_test(formscan SOURCES web/tst_formscan.cpp)
postavo_test(postedmessage SOURCES web/tst_postedmessage.cpp)
postavo_test(pagescripts SOURCES web/tst_pagescripts.cpp)
