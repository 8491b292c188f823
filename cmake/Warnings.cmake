# Strict warnings for the project's own targets (not for what they include).
function(lumidot_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${LUMIDOT_WERROR}>:/WX>)
    else()
        target_compile_options(${target} PRIVATE
            -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
            $<$<BOOL:${LUMIDOT_WERROR}>:-Werror>)
    endif()
endfunction()
