postavo_test(pagesizeprobe SOURCES replies/tst_pagesizeprobe.cpp TIMEOUT 180)
