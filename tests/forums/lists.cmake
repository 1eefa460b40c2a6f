postavo_test(listfiles SOURCES forums/tst_listfiles.cpp)
postavo_test(form1_lists SOURCES forums/tst_form1_lists.cpp WEB TIMEOUT 300)
