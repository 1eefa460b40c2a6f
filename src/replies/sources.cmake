# Sources of this folder: core files need no window, gui files do.
target_sources(postavo_core PRIVATE
    replies/pagemeasurement.h
    replies/pagesizeprobe.cpp replies/pagesizeprobe.h
    replies/postaddress.cpp replies/postaddress.h
    replies/postoutcome.cpp replies/postoutcome.h
    replies/probetimeouts.cpp replies/probetimeouts.h
    replies/replyrun.cpp replies/replyrun.h
)
target_sources(postavo_gui PRIVATE
    replies/form1_replies.cpp
)
