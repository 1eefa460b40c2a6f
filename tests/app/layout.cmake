postavo_test(mainlayout SOURCES app/tst_mainlayout.cpp GUI WEB)
postavo_test(mainmenus SOURCES app/tst_mainmenus.cpp GUI WEB)
