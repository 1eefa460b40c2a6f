# The message picker window.
target_sources(postavo_gui PRIVATE
    messages/form3.cpp messages/form3.h
)
