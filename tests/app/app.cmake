postavo_test(textfile SOURCES app/tst_textfile.cpp)
postavo_test(datafolder SOURCES app/tst_datafolder.cpp)
postavo_test(settingsstore SOURCES app/tst_settingsstore.cpp)
postavo_test(endrequests SOURCES app/tst_endrequests.cpp)
