# The browser pane's page, pop-up windows and key typing.
target_sources(postavo_core PRIVATE
    web/keystrokes.cpp web/keystrokes.h
)
target_sources(postavo_gui PRIVATE
    web/browserpage.cpp web/browserpage.h
    web/browserwindow.cpp web/browserwindow.h
    web/keytyper.cpp web/keytyper.h
    web/messagewriter.cpp web/messagewriter.h
)
