target_sources(postavo_gui PRIVATE
    ui/form8.cpp ui/form8.h
    ui/ontop.cpp ui/ontop.h
)
