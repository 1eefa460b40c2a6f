target_sources(postavo_gui PRIVATE web/browserprofile.cpp web/browserprofile.h)
