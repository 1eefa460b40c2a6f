# Sources of this folder: core files need no window, gui files do.
target_sources(postavo_core PRIVATE
    app/appcontext.h
    app/branding.cpp app/branding.h
    app/datafolder.cpp app/datafolder.h
    app/endrequests.cpp app/endrequests.h
    app/settingsstore.cpp app/settingsstore.h
    app/textfile.cpp app/textfile.h
    app/twips.h
)
target_sources(postavo_gui PRIVATE
    app/elidingtoolbutton.cpp app/elidingtoolbutton.h
    app/form1.cpp app/form1.h
)
