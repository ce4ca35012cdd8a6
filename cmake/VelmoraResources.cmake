# velmora_add_resources(TARGET MANIFEST): compiles the resources MANIFEST lists into TARGET, so that
# platform::FindResource answers them at run time. The build reruns the compiler when the manifest or
# any file it lists changes.
function(velmora_add_resources target manifest)
    get_filename_component(manifest "${manifest}" ABSOLUTE)
    set(source "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp")
    set(depfile "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.d")
    add_custom_command(
        OUTPUT "${source}"
        COMMAND velmora-resc "${manifest}" "${source}" "${depfile}"
        DEPENDS velmora-resc "${manifest}"
        DEPFILE "${depfile}"
        COMMENT "Compiling the resources of ${target}"
        VERBATIM)
    target_sources(${target} PRIVATE "${source}")
endfunction()

# Warnings that every target of ours builds with.
function(velmora_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()
