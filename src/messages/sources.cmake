# Sources of this folder: core files need no window, gui files do.
target_sources(postavo_core PRIVATE
    messages/messagestore.cpp messages/messagestore.h
)
target_sources(postavo_gui PRIVATE
    messages/form1_messages.cpp
)
