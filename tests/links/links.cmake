postavo_test(linkformats SOURCES links/tst_linkformats.cpp)
