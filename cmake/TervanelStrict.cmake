# Strict settings for Tervanel's own targets only (never directory-wide), so that
# third-party and generated code keeps its own warnings.
include_guard(GLOBAL)

option(TERVANEL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(TERVANEL_FUZZ "Build the libFuzzer targets (clang), with sanitizer coverage" OFF)
# Off by default: a user's or packager's newer compiler may warn where ours does not, and that
# must not stop their build. The test command and CI turn it on.
option(TERVANEL_WERROR "Treat warnings in Tervanel's own targets as errors" OFF)

function(tervanel_strict target)
    if(MSVC)
        # /fp:precise keeps every operation rounded as written: no contraction into FMA.
        target_compile_options(${target} PRIVATE /W4 /utf-8 /permissive- /fp:precise
            $<$<BOOL:${TERVANEL_WERROR}>:/WX>)
        return()
    endif()
    # -ffp-contract=off: a fused multiply-add would change results in the last bit.
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion -Wshadow
        -Wold-style-cast -ffp-contract=off $<$<BOOL:${TERVANEL_WERROR}>:-Werror>)
    # 32-bit x86 otherwise computes doubles on the x87 in extended precision, which rounds each
    # result twice; SSE2 rounds once, like every other platform.
    if(CMAKE_SIZEOF_VOID_P EQUAL 4
       AND CMAKE_SYSTEM_PROCESSOR MATCHES "^([iI][3-6]86|[xX]86|x86_64|AMD64|amd64)$")
        target_compile_options(${target} PRIVATE -msse2 -mfpmath=sse)
    endif()
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
