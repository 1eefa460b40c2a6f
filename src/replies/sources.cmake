# Sources of this folder: core files need no window, gui files do.
target_sources(postavo_core PRIVATE
    replies/pagesizeprobe.cpp replies/pagesizeprobe.h
)
target_sources(postavo_gui PRIVATE
    replies/form1_replies.cpp
)
