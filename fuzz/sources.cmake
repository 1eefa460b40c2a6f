# The window-free sources the fuzz targets compile, relative to src/, and the targets with the sources each
# needs. Included by the fuzz build and by the main build's short runs, so both stay in step.
set(POSTAVO_FUZZ_CORE_SOURCES
    base/characterreferences.cpp
    base/filereplacement.cpp
    base/namedreferences.cpp
    base/settingsstore.cpp
    base/textfile.cpp
    forums/listfiles.cpp
    links/editorcontent.cpp
    links/linkconversion.cpp
    links/linkformats.cpp
    messages/messagestore.cpp
    replies/addedtext.cpp
    replies/kepttextstore.cpp
    replies/linediff.cpp
    replies/markuptokenizer.cpp
    replies/pageencoding.cpp
    replies/pagefailure.cpp
    replies/pagesizeprobe.cpp
    replies/pagesizeprobe.h
    replies/pagetext.cpp
    replies/pagetransport.cpp
    replies/pagetransport.h
    replies/postaddress.cpp
    replies/probetimeouts.cpp
    replies/redirectpolicy.cpp
    replies/responsereader.cpp
    replies/textlines.cpp
    ui/rtfreader.cpp
    ui/skinfile.cpp
    web/formscan.cpp
    web/postedmessage.cpp
)

# Each target is fuzz_<name>, built from <name>.cpp, with its seeds in corpus/<name>.
set(POSTAVO_FUZZ_TARGETS
    editorcontent
    formscan
    linkconversion
    listfiles
    pagetext
    postaddress
    postedmessage
    responsereader
    rtfreader
    skinfile
)
