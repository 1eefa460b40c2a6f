postavo_test(form1_startup SOURCES app/tst_form1_startup.cpp support/modalwatcher.h WEB)
