# The list files and the login entries.
target_sources(postavo_core PRIVATE
    forums/listfiles.cpp forums/listfiles.h
)
