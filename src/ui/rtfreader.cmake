target_sources(postavo_core PRIVATE
    ui/rtfreader.cpp ui/rtfreader.h
)
