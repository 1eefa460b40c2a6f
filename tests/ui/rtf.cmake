postavo_test(rtfreader SOURCES ui/tst_rtfreader.cpp)
target_compile_definitions(tst_rtfreader PRIVATE
    POSTAVO_RTF_TEST_DATA="${CMAKE_CURRENT_LIST_DIR}/data"
    POSTAVO_HELP_RTF="${PROJECT_SOURCE_DIR}/resources/Help.rtf")
