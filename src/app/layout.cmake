# The main window's arrangement, menus and picture-button icons.
target_sources(postavo_gui PRIVATE
    app/form1_layout.cpp
    app/form1_menus.cpp
)
qt_add_resources(postavo_gui form1_icons
    PREFIX "/icons"
    BASE app/icons
    FILES
        app/icons/autoinsert.png
        app/icons/copy.png
        app/icons/load.png
        app/icons/options.png
        app/icons/preview.png
        app/icons/save.png
        app/icons/visit.png
)
