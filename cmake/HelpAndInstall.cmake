# Help pages beside the program in the build tree, and the installed layout of a Linux desktop program.
include(GNUInstallDirs)

set(KESTRUNE_APP_ID org.kestrune.Utility)

# help/ next to the executable, refreshed whenever a page changes.
file(GLOB KESTRUNE_HELP_PAGES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/help/*.html ${CMAKE_SOURCE_DIR}/help/*.css)
set(KESTRUNE_HELP_STAMP ${CMAKE_BINARY_DIR}/help.stamp)
add_custom_command(OUTPUT ${KESTRUNE_HELP_STAMP}
    COMMAND ${CMAKE_COMMAND} -E make_directory $<TARGET_FILE_DIR:kestrune>/help
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${KESTRUNE_HELP_PAGES} $<TARGET_FILE_DIR:kestrune>/help/
    COMMAND ${CMAKE_COMMAND} -E touch ${KESTRUNE_HELP_STAMP}
    DEPENDS ${KESTRUNE_HELP_PAGES}
    COMMENT "Copying the help pages beside the program")
add_custom_target(kestrune_help ALL DEPENDS ${KESTRUNE_HELP_STAMP})
add_dependencies(kestrune kestrune_help)

# Tests that read the pages and the sources find them here.
foreach(test_target kestrune_unit_tests kestrune_widget_tests)
    if(TARGET ${test_target})
        target_compile_definitions(${test_target} PRIVATE KESTRUNE_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                   KESTRUNE_PROGRAM_DIR="$<TARGET_FILE_DIR:kestrune>")
        add_dependencies(${test_target} kestrune_help)
    endif()
endforeach()

install(TARGETS kestrune RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${KESTRUNE_HELP_PAGES} DESTINATION ${CMAKE_INSTALL_DATADIR}/kestrune/help)
install(FILES ${CMAKE_SOURCE_DIR}/data/${KESTRUNE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/${KESTRUNE_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/data/${KESTRUNE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
