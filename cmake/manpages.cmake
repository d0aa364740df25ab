# SPDX-License-Identifier: GPL-3.0-or-later
# lorva_install_manpage(<page>) compresses a French manual page (groff source,
# such as data/man/lorva.1) at build time and installs it under
# share/man/fr/man<section>. The compression is reproducible (no name, no
# time stamp), as Debian's packages want.
function(lorva_install_manpage page)
    get_filename_component(name ${page} NAME)
    string(REGEX REPLACE ".*\\.([0-9])$" "\\1" section ${name})
    set(out ${CMAKE_BINARY_DIR}/man/${name}.gz)
    add_custom_command(OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
        COMMAND gzip -9n -c ${page} > ${out}
        DEPENDS ${page}
        COMMENT "Manual page ${name}")
    add_custom_target(lorva_man_${name} ALL DEPENDS ${out})
    install(FILES ${out} DESTINATION ${CMAKE_INSTALL_MANDIR}/fr/man${section})
endfunction()
