postavo_test(statuspanels SOURCES app/tst_statuspanels.cpp WEB)
