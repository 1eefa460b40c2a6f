postavo_test(form1_autoinsert SOURCES web/tst_form1_autoinsert.cpp support/modalwatcher.h WEB TIMEOUT 180)
