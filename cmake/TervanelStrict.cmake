# Strict settings for Tervanel's own targets only (never directory-wide), so that
# third-party and generated code keeps its own warnings.
include_guard(GLOBAL)

option(TERVANEL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(TERVANEL_FUZZ "Build the libFuzzer targets (clang), with sanitizer coverage" OFF)

function(tervanel_strict target)
    if(MSVC)
        # /fp:precise keeps every operation rounded as written: no contraction into FMA.
        target_compile_options(${target} PRIVATE /W4 /WX /utf-8 /permissive- /fp:precise)
        return()
    endif()
    # -ffp-contract=off: a fused multiply-add would change results in the last bit.
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion -Wshadow
        -Wold-style-cast -Werror -ffp-contract=off)
    set(sanitizers "")
    if(TERVANEL_SANITIZE OR TERVANEL_FUZZ)
        set(sanitizers "address,undefined")
    endif()
    if(TERVANEL_FUZZ)
        set(sanitizers "fuzzer-no-link,${sanitizers}")
    endif()
    if(sanitizers)
        target_compile_options(${target} PRIVATE
            -fsanitize=${sanitizers} -fno-sanitize-recover=all -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=${sanitizers})
    endif()
endfunction()
