# Sources of this folder: core files need no window, gui files do.
target_sources(postavo_core PRIVATE
)
target_sources(postavo_gui PRIVATE
)
