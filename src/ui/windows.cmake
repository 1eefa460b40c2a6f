# Window helpers, splash, about and website launcher, skinning: the windows and the artwork.
target_sources(postavo_gui PRIVATE
    ui/artwork.cpp ui/artwork.h
    ui/frmabout.cpp ui/frmabout.h
    ui/frmsplash.cpp ui/frmsplash.h
    ui/frmwebsite.cpp ui/frmwebsite.h
    ui/linklabel.cpp ui/linklabel.h
    ui/skin.cpp ui/skin.h
    ui/windowicon.cpp ui/windowicon.h
    ../resources/windows.qrc
)

# Draws the icon images into resources/icons/AAA and shows single windows for screenshots; built on request:
#   cmake --build <dir> --target postavo_artwork && <dir>/bin/postavo_artwork icons resources/icons/AAA
add_executable(postavo_artwork EXCLUDE_FROM_ALL ui/artworktool.cpp)
target_link_libraries(postavo_artwork PRIVATE postavo_gui)
