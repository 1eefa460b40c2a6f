# Auto-Insert into real rich-text editors, installed by tools/setup.sh: CKEditor 4 from Debian, the others
# from npm into the build tree.
postavo_test(editors SOURCES web/tst_editors.cpp support/testforum.h WEB TIMEOUT 180 RESOURCE_LOCK port80-127.0.0.4)
target_compile_definitions(tst_editors PRIVATE
    POSTAVO_NPM_EDITORS="${CMAKE_BINARY_DIR}/editors/node_modules"
    POSTAVO_CKEDITOR="/usr/share/javascript/ckeditor")
