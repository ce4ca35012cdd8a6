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

# The warnings every target of ours builds with, as errors. A deprecation stays a warning, so that an
# update of a library within the distribution cannot break the build.
if(NOT TARGET velmora_warning_flags)
    add_library(velmora_warning_flags INTERFACE)
    target_compile_options(velmora_warning_flags INTERFACE -Wall -Wextra -Wshadow -Wnon-virtual-dtor
        -Woverloaded-virtual -Werror -Wno-error=deprecated-declarations)
endif()

function(velmora_warnings target)
    target_link_libraries(${target} PRIVATE velmora_warning_flags)
endfunction()
