# Page-markup scans and the scripts that read and write the page; no window needed.
target_sources(postavo_core PRIVATE
    web/formscan.cpp web/formscan.h
    web/pagescripts.cpp web/pagescripts.h
    web/postedmessage.cpp web/postedmessage.h
)
