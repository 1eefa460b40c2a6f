target_sources(postavo_core PRIVATE replies/replycheck.cpp replies/replycheck.h)
target_sources(postavo_gui PRIVATE replies/form1_replycheck.cpp)
