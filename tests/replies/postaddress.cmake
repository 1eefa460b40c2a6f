postavo_test(postaddress SOURCES replies/tst_postaddress.cpp)
