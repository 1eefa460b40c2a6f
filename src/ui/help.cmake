# The help text ships beside the executable, where the help window looks for it; rebuilt when it changes.
set(POSTAVO_HELP_SOURCE ${PROJECT_SOURCE_DIR}/resources/Help.rtf)
add_custom_command(OUTPUT ${POSTAVO_BIN_DIR}/Help.rtf
    COMMAND ${CMAKE_COMMAND} -E make_directory ${POSTAVO_BIN_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${POSTAVO_HELP_SOURCE} ${POSTAVO_BIN_DIR}/Help.rtf
    DEPENDS ${POSTAVO_HELP_SOURCE}
    COMMENT "Copying Help.rtf beside the program"
    VERBATIM)
add_custom_target(postavo_help ALL DEPENDS ${POSTAVO_BIN_DIR}/Help.rtf)
# The program is linked against the windows library, so building the program also refreshes its help text.
add_dependencies(postavo_gui postavo_help)
