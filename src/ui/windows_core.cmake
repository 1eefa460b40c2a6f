# Window helpers, splash, about and website launcher, skinning: the parts that need no window.
target_sources(postavo_core PRIVATE
    ui/sitekey.cpp ui/sitekey.h
    ui/skinfile.cpp ui/skinfile.h
    ui/versiontext.cpp ui/versiontext.h
)
