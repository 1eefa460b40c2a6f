postavo_test(form8 SOURCES ui/tst_form8.cpp GUI)
target_compile_definitions(tst_form8 PRIVATE POSTAVO_HELP_RTF="${PROJECT_SOURCE_DIR}/resources/Help.rtf")
postavo_test(helpwindow SOURCES ui/tst_helpwindow.cpp WEB TIMEOUT 120)
