postavo_test(linkformats SOURCES links/tst_linkformats.cpp)
postavo_test(linkconversion SOURCES links/tst_linkconversion.cpp)
