# Sources of this folder: core files need no window, gui files do.
target_sources(postavo_core PRIVATE
    links/editorcontent.cpp links/editorcontent.h
    links/linkconversion.cpp links/linkconversion.h
    links/linkformats.cpp links/linkformats.h
)
target_sources(postavo_gui PRIVATE
)
