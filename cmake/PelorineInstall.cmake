# pelorine_install_manual_page(PAGE)
# Installs the manual page PAGE (a file of the calling folder, "name.N") into
# share/man/manN, compressed reproducibly as Debian wants it.
find_program(GZIP_PROGRAM gzip REQUIRED)
function(pelorine_install_manual_page page)
    get_filename_component(name ${page} NAME)
    string(REGEX REPLACE ".*\\.([0-9])$" "\\1" section ${name})
    set(compressed ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
    add_custom_command(
        OUTPUT ${compressed}
        COMMAND ${GZIP_PROGRAM} -9n -c ${CMAKE_CURRENT_SOURCE_DIR}/${page} > ${compressed}
        DEPENDS ${page}
        VERBATIM)
    add_custom_target(manual_page_${name} ALL DEPENDS ${compressed})
    install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endfunction()
