postavo_test(linkformats SOURCES links/tst_linkformats.cpp)
postavo_test(linkconversion SOURCES links/tst_linkconversion.cpp)
postavo_test(editorcontent SOURCES links/tst_editorcontent.cpp)
