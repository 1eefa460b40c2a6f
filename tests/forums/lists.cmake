postavo_test(listfiles SOURCES forums/tst_listfiles.cpp)
