postavo_test(formscan SOURCES web/tst_formscan.cpp)
postavo_test(postedmessage SOURCES web/tst_postedmessage.cpp)
postavo_test(pagescripts SOURCES web/tst_pagescripts.cpp)
postavo_test(pagescripts_web SOURCES web/tst_pagescripts_web.cpp WEB TIMEOUT 180)
