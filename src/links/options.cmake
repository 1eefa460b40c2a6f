# The options dialog and the threshold number check.
target_sources(postavo_core PRIVATE
    links/numbertext.cpp links/numbertext.h
)
target_sources(postavo_gui PRIVATE
    links/frmcustom.cpp links/frmcustom.h
    links/form1_options.cpp
)
