postavo_test(pagesizeprobe SOURCES replies/tst_pagesizeprobe.cpp TIMEOUT 180)
postavo_test(probe_nginx SOURCES replies/tst_probe_nginx.cpp TIMEOUT 120 RESOURCE_LOCK port80-127.0.0.2)
