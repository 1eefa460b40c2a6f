target_sources(postavo_gui PRIVATE web/form1_autoinsert.cpp)
