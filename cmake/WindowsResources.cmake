# Gives a Windows program its icon, its version resource and its manifest, from one template.
function(tolvane_windows_resources target description)
    set(NAME ${target})
    set(DESCRIPTION "${description}")
    set(ICON ${PROJECT_SOURCE_DIR}/packaging/tolvane.ico)
    set(MANIFEST ${PROJECT_SOURCE_DIR}/packaging/tolvane.manifest)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/resources.rc.in
                   ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
    target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
endfunction()
